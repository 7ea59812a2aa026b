// Drives an unpacked or installed program from inside, for the package check.
// Qt loads it by its own means (QT_PLUGIN_PATH, QT_QPA_GENERIC_PLUGINS=zenprobe),
// so the program needs no switch of its own. Once the login window is shown
// it opens the bot editor; when ZEN_PROBE_ADD is set it adds the pair
// "trigger|reply" it holds (none when empty) and saves. Then it ends the
// program. A message box on the way ends it at once with status 1, its text on
// stdout.
#include <QAbstractButton>
#include <QApplication>
#include <QGenericPlugin>
#include <QLineEdit>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>

namespace {

// Ends the program: status 1 with the text of a message box that is open, else 0.
[[noreturn]] void end()
{
    int status = 0;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) {
            std::printf("message box: %s\n", qPrintable(box->text()));
            status = 1;
        }
    std::fflush(nullptr);
    std::_Exit(status);
}

class Driver : public QObject {
public:
    Driver() { startTimer(5); }

protected:
    void timerEvent(QTimerEvent*) override
    {
        QHash<QString, QWidget*> windows;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (qobject_cast<QMessageBox*>(top) && top->isVisible())
                end();
            windows.insert(top->objectName(), top);
        }
        QWidget *login = windows.value("LoginForm"), *editor = windows.value("EditForm");
        if (m_step == 0 && login && login->isVisible()) {
            QMetaObject::invokeMethod(windows.value("Lobby"), "botEditorRequested", Qt::QueuedConnection);
            m_step = 1;
        } else if (m_step == 1 && editor && editor->isVisible()) {
            const QString pair = qEnvironmentVariable("ZEN_PROBE_ADD");
            editor->findChild<QLineEdit*>("Text1")->setText(pair.section(u'|', 0, 0));
            editor->findChild<QLineEdit*>("Text2")->setText(pair.section(u'|', 1));
            const auto click = [editor](const char* name) {
                QMetaObject::invokeMethod(editor->findChild<QAbstractButton*>(name), "click",
                                          Qt::QueuedConnection);
            };
            if (!pair.isEmpty())
                click("Command3");
            if (qEnvironmentVariableIsSet("ZEN_PROBE_ADD"))
                click("Command1");
            // Queued events run in turn: a message box the clicks opened is open by then.
            QMetaObject::invokeMethod(this, &end, Qt::QueuedConnection);
            m_step = 2;
        }
    }

private:
    int m_step = 0;
};

class Probe : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "probe.json")
public:
    QObject* create(const QString&, const QString&) override { return new Driver; }
};

} // namespace

#include "probe.moc"
