#include "ui/editform.h"

#include "app/declares.h"
#include "app/ports.h"
#include "bot/boteditor.h"
#include "ui/displaytext.h"
#include "ui/layout.h"
#include "ui/look.h"
#include "ui/pictures.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

namespace {
// DataBox shows the working copy line for line, 64 lines to a text block, so
// a bot.dat of many megabytes still opens at once. Long lines are cut on
// screen only (it looks like the box's own wrapping); Save writes the
// working copy.
constexpr int LinesPerBlock = 64;

QLabel* label(const QString& name, const QString& text, const QRect& at, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(at);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Look::caption(label);
    return label;
}

QLineEdit* input(const QString& name, const QString& accessibleName, const QRect& at, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAccessibleName(accessibleName);
    box->setGeometry(at);
    Look::darkBox(box);
    return box;
}
} // namespace

EditForm::EditForm(Shell& shell, const Pictures& pictures, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_shell(shell), m_pictures(pictures)
{
    setObjectName(QStringLiteral("EditForm"));
    setWindowTitle(Caption);
    setFixedSize(Layout::EditFormSize.size());

    m_background = new QLabel(this);
    m_background->setObjectName(QStringLiteral("BG1"));
    m_background->setAccessibleName(QStringLiteral("Background"));
    m_background->setGeometry(rect());
    // At its own size, from the top left corner: only the lobby stretches it.
    m_background->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_data = new QPlainTextEdit(this);
    m_data->setObjectName(QStringLiteral("DataBox"));
    m_data->setAccessibleName(QStringLiteral("Bot data"));
    m_data->setGeometry(0, 0, Layout::px(4695), Layout::px(3255));
    m_data->setReadOnly(true);
    m_data->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_data->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Look::darkBox(m_data);

    const int row = m_data->height() + 5;
    label(QStringLiteral("Label1"), QStringLiteral("Trigger"), {4, row, 52, 22}, this);
    m_trigger = input(QStringLiteral("Text1"), QStringLiteral("Trigger"), {56, row, 78, 22}, this);
    label(QStringLiteral("Label2"), QStringLiteral("Reply"), {140, row, 42, 22}, this);
    m_reply = input(QStringLiteral("Text2"), QStringLiteral("Reply"), {182, row, 78, 22}, this);
    QPushButton* add =
        Look::button(QStringLiteral("Command3"), QStringLiteral("&Add"), {264, row - 1, 44, 24}, this);

    const int bottom = height() - 28;
    QPushButton* clear =
        Look::button(QStringLiteral("Command4"), QStringLiteral("&Clear"), {4, bottom, 70, 24}, this);
    m_exit = Look::button(QStringLiteral("Command2"), QStringLiteral("&Exit"), {160, bottom, 70, 24}, this);
    QPushButton* save =
        Look::button(QStringLiteral("Command1"), QStringLiteral("&Save"), {236, bottom, 72, 24}, this);
    save->setDefault(true);

    connect(add, &QPushButton::clicked, this, &EditForm::Command3_Click);
    connect(clear, &QPushButton::clicked, this, &EditForm::Command4_Click);
    connect(save, &QPushButton::clicked, this, &EditForm::Command1_Click);
    connect(m_exit, &QPushButton::clicked, this, &EditForm::Command2_Click);
    // Save is the default button: Enter in either input saves.
    connect(m_trigger, &QLineEdit::returnPressed, save, &QPushButton::click);
    connect(m_reply, &QLineEdit::returnPressed, save, &QPushButton::click);

    QWidget* order[] = {m_trigger, m_reply, add, clear, m_exit, save, m_data};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void EditForm::open()
{
    if (!m_loaded) {
        m_loaded = true;
        m_trigger->clear();
        m_reply->clear();
        Form_Load();
        // Centred on its owner, the lobby window.
        if (QWidget* owner = parentWidget()) {
            QRect area(QPoint(), size());
            area.moveCenter(owner->geometry().center());
            setGeometry(area);
        }
    }
    show();
    raise();
    activateWindow();
    m_trigger->setFocus();
}

void EditForm::Form_Load()
{
    m_background->setPixmap(m_pictures.BG1);
    const std::optional<QString> text = BotEditor::load(m_shell.dataFolder());
    setText(text.value_or(QString()));
    if (!text)
        m_shell.message(Config::DefaultTitle, BotEditor::LoadFailedMessage);
}

void EditForm::Command3_Click()
{
    // Only the new record is added to the box: Add stays quick however long the text.
    const QString record = BotEditor::add(QString(), m_trigger->text(), m_reply->text());
    m_text += record;
    QTextCursor end(m_data->document());
    end.movePosition(QTextCursor::End);
    end.insertText(displayText(record, LinesPerBlock));
    m_data->moveCursor(QTextCursor::End);
}

void EditForm::Command4_Click()
{
    setText(QString());
}

void EditForm::Command1_Click()
{
    if (!BotEditor::save(m_shell.dataFolder(), m_text))
        m_shell.message(Config::DefaultTitle, BotEditor::SaveFailedMessage);
}

void EditForm::Command2_Click()
{
    close();
}

void EditForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && !event->isAutoRepeat()) {
        m_exit->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void EditForm::closeEvent(QCloseEvent* event)
{
    // Closing unloads the editor: unsaved changes are gone, the next
    // "/botedit" reads the file again.
    m_loaded = false;
    event->accept();
}

void EditForm::setText(const QString& text)
{
    m_text = text;
    m_data->setPlainText(displayText(text, LinesPerBlock));
    m_data->moveCursor(QTextCursor::End);
}
