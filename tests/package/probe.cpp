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

[[noreturn]] void end(int status, const QString& text = {})
{
    if (!text.isEmpty())
        std::printf("%s\n", qPrintable(text));
    std::fflush(nullptr);
    std::_Exit(status);
}

class Driver : public QObject {
public:
    Driver() { startTimer(5); }

protected:
    // Clicks are queued, so a message box they open is seen at the next step.
    void timerEvent(QTimerEvent*) override
    {
        QHash<QString, QWidget*> windows;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible())
                end(1, "message box: " + box->text());
            windows.insert(top->objectName(), top);
        }
        QWidget* editor = windows.value("EditForm");
        const QString pair = qEnvironmentVariable("ZEN_PROBE_ADD");
        if (m_step == 0 && windows.value("LoginForm") && windows.value("LoginForm")->isVisible()) {
            QMetaObject::invokeMethod(windows.value("Lobby"), "botEditorRequested", Qt::QueuedConnection);
            m_step = 1;
        } else if (m_step == 1 && editor && editor->isVisible()) {
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
            m_step = 2;
        } else if (m_step == 2) {
            end(0);
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
