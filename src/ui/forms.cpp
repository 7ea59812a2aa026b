#include "ui/forms.h"

#include "app/botfile.h"
#include "app/datafolder.h"
#include "ui/editform.h"
#include "ui/lobbyselect.h"
#include "ui/lobbywindow.h"
#include "ui/loginform.h"
#include "ui/look.h"

namespace {
// The look belongs to the application: it is set before the first window is made.
std::unique_ptr<LobbyWindow> firstWindow(const Pictures& pictures)
{
    Look::applyTheme();
    return std::make_unique<LobbyWindow>(pictures);
}
} // namespace

Forms::Forms(Transport& transport, Shell& shell, QObject* parent)
    : QObject(parent), m_shell(shell), m_lobby(firstWindow(m_pictures)), m_client(transport, shell, *m_lobby)
{
    m_lobby->setClient(&m_client);
    connect(m_lobby.get(), &LobbyWindow::lobbySelectRequested, this, &Forms::showLobbySelect);
    connect(m_lobby.get(), &LobbyWindow::loginRequested, this, [this] {
        if (m_select)
            m_select->hide();
        showLogin();
    });
    connect(m_lobby.get(), &LobbyWindow::botEditorRequested, this, [this] { editForm()->open(); });
}

Forms::~Forms()
{
    m_lobby->setClient(nullptr);
}

void Forms::Main()
{
    Declares& d = m_client.state();
    d.applyConfiguration();
    const QString data = m_shell.dataFolder(), program = m_shell.programFolder();
    const qreal scale = Pictures::screenScale();
    const auto load = [&](const QString& file, QPixmap& picture) {
        return Pictures::loadFile(DataFolder::holding(file, data, program), file, picture, scale);
    };
    // Each step runs only when the ones before it succeeded.
    const bool loaded = load(Pictures::BackgroundFile, m_pictures.BG1) &&
                        load(Pictures::HutsFile, m_pictures.HUTSIMG) &&
                        load(Pictures::SelectFile, m_pictures.SELECT1) && BotFile::LoadBotTable(d, data).ok();
    if (!loaded)
        m_shell.message(Config::DefaultTitle, DataFilesMessage);
    showLogin();
}

LoginForm* Forms::loginForm()
{
    if (!m_login) {
        m_login = std::make_unique<LoginForm>(m_client.state(), m_shell, m_pictures);
        connect(m_login.get(), &LoginForm::loggedIn, this, &Forms::showLobbySelect);
        Look::centreOnScreen(m_login.get());
    }
    return m_login.get();
}

LobbySelect* Forms::lobbySelect()
{
    if (!m_select) {
        m_select = std::make_unique<LobbySelect>(m_client.state(), m_shell, m_pictures);
        connect(m_select.get(), &LobbySelect::lobbyChosen, this, &Forms::showLobby);
        connect(m_select.get(), &LobbySelect::dismissed, this, &Forms::leaveLobbySelect);
        Look::centreOnScreen(m_select.get());
    }
    return m_select.get();
}

EditForm* Forms::editForm()
{
    if (!m_editor)
        m_editor = new EditForm(m_shell, m_pictures, m_lobby.get());
    return m_editor;
}

void Forms::showLogin()
{
    loginForm()->show();
    m_login->activateWindow();
}

void Forms::showLobbySelect()
{
    lobbySelect()->show();
    m_select->raise();
    m_select->activateWindow();
}

void Forms::showLobby()
{
    // The first choice loads the lobby, which connects; the window shows at
    // once what it is doing (the caption, then the welcome once registered).
    // A later choice connects to the lobby chosen unless it is already there.
    if (!m_lobbyLoaded) {
        m_lobbyLoaded = true;
        m_client.Form_Load();
        m_client.Timer1_Timer();
        Look::centreOnScreen(m_lobby.get());
    } else {
        m_client.lobbyChosen();
    }
    m_lobby->show();
    m_lobby->raise();
    m_lobby->activateWindow();
}

void Forms::leaveLobbySelect()
{
    // Closing the lobby choice never leaves the program running without a
    // window: before any lobby it ends the program, as closing the login
    // window does; later it goes back to the lobby it was opened from, as if
    // that one was chosen again (after a refused name nothing else would
    // connect).
    if (!m_lobbyLoaded) {
        m_shell.endProgram();
        return;
    }
    m_client.lobbyChosen();
    m_select->hide();
    m_lobby->show();
    m_lobby->raise();
    m_lobby->activateWindow();
}
