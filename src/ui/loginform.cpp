#include "ui/loginform.h"

#include "app/declares.h"
#include "app/login.h"
#include "app/ports.h"
#include "ui/layout.h"
#include "ui/look.h"
#include "ui/pictures.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

LoginForm::LoginForm(Declares& state, Shell& shell, const Pictures& pictures, QWidget* parent)
    : QWidget(parent), m_d(state), m_shell(shell)
{
    setObjectName(QStringLiteral("LoginForm"));
    setWindowTitle(Caption);
    setWindowIcon(Pictures::programIcon());
    Look::fixedWindow(this, Layout::LoginFormSize.size());

    m_background = new QLabel(this);
    m_background->setObjectName(QStringLiteral("BG1"));
    m_background->setAccessibleName(QStringLiteral("Background"));
    m_background->setGeometry(rect());
    // At its own size, from the top left corner: only the lobby stretches it.
    m_background->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setAccessibleName(QStringLiteral("Village at night"));
    picture->setPixmap(pictures.LoginPicture);
    const QSize pictureSize = pictures.LoginPicture.deviceIndependentSize().toSize();
    picture->setGeometry(QRect(QPoint(width() - pictureSize.width(), 0), pictureSize));

    m_logo = new QLabel(this);
    m_logo->setObjectName(QStringLiteral("LOGO"));
    m_logo->setAccessibleName(QStringLiteral("Zenthara Network logo"));
    m_logo->setGeometry(QRect(QPoint(8, 8), Layout::Twips{0, 0, 1215, 1215}.size()));
    m_logo->setScaledContents(true);

    Look::captionLabel(QStringLiteral("Label3"), QStringLiteral("Zenthara Network"), {100, 10, 165, 20},
                       this);
    Look::captionLabel(QStringLiteral("Label1"), QStringLiteral("NickName"), {100, 38, 160, 18}, this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("NICKNAMEBOX"));
    m_name->setAccessibleName(QStringLiteral("Nickname"));
    m_name->setToolTip(Login::NameHint);
    m_name->setGeometry(100, 58, 160, 24);
    Look::darkBox(m_name);

    QPushButton* login =
        Look::button(QStringLiteral("Command1"), QStringLiteral("&Login"), {100, 92, 76, 26}, this);
    QPushButton* exit =
        Look::button(QStringLiteral("Command2"), QStringLiteral("&Exit"), {184, 92, 76, 26}, this);
    login->setDefault(true);
    connect(login, &QPushButton::clicked, this, &LoginForm::Command1_Click);
    connect(exit, &QPushButton::clicked, this, &LoginForm::Command2_Click);
    // The default button: Enter in the name box logs in.
    connect(m_name, &QLineEdit::returnPressed, login, &QPushButton::click);

    const int right = picture->x();
    QLabel* version = Look::captionLabel(QStringLiteral("Label4"), QStringLiteral("V0.60"),
                                         {right, 40, width() - right, 24}, this);
    QLabel* protocol = Look::captionLabel(QStringLiteral("Label5"), QStringLiteral("Protocal 2"),
                                          {right, 64, width() - right, 24}, this);
    for (QLabel* white : {version, protocol}) {
        Look::caption(white, Qt::white, Look::VersionPixels);
        white->setAlignment(Qt::AlignCenter);
    }
    Look::captionLabel(QStringLiteral("Label2"), QStringLiteral("ZenLobby by the Zenthara Network players"),
                       {8, 132, right - 12, 18}, this);

    QWidget::setTabOrder(m_name, login);
    QWidget::setTabOrder(login, exit);
    m_name->setFocus();
    Form_Load(pictures);
}

void LoginForm::Form_Load(const Pictures& pictures)
{
    m_logo->setPixmap(pictures.LOGO);
    m_background->setPixmap(pictures.BG1);
}

void LoginForm::Command1_Click()
{
    QString text = m_name->text();
    const bool accepted = Login::logIn(m_d, text);
    m_name->setText(text);
    if (!accepted) {
        m_shell.message(Config::DefaultTitle, Login::RefusedMessage);
        return;
    }
    hide();
    emit loggedIn();
}

void LoginForm::Command2_Click()
{
    m_shell.endProgram();
}

void LoginForm::closeEvent(QCloseEvent* event)
{
    event->accept();
    m_shell.endProgram();
}
