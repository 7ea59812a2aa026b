#include "ui/lobbyselect.h"

#include "app/declares.h"
#include "app/lobbychoice.h"
#include "app/ports.h"
#include "ui/imagebutton.h"
#include "ui/layout.h"
#include "ui/look.h"
#include "ui/pictures.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

LobbySelect::LobbySelect(Declares& state, Shell& shell, const Pictures& pictures, QWidget* parent)
    : QWidget(parent), m_d(state), m_shell(shell)
{
    setObjectName(QStringLiteral("LobbySelect"));
    setWindowTitle(Caption);
    setWindowIcon(Pictures::programIcon());
    Look::fixedWindow(this, Layout::LobbySelectSize.size());

    m_background = new QLabel(this);
    m_background->setObjectName(QStringLiteral("BG1"));
    m_background->setAccessibleName(QStringLiteral("Background"));
    m_background->setGeometry(rect());
    m_background->setScaledContents(true);

    m_select = new QLabel(this);
    m_select->setObjectName(QStringLiteral("SELECT1"));
    m_select->setAccessibleName(QStringLiteral("Lobby map"));
    m_select->setGeometry(Layout::SelectImage.rect());

    buildClanRow(pictures);
    QWidget* previous = findChild<QPushButton*>(QStringLiteral("Command1"));
    for (int index = 0; index < LobbyChoice::LobbyCount; ++index) {
        auto* spot = new ImageButton(QStringLiteral("LBYSEL"), index, this);
        spot->setGeometry(Layout::LobbySpot[std::size_t(index)].rect());
        spot->setAccessibleName(LobbyChoice::lobbyCaption(index));
        spot->setToolTip(LobbyChoice::lobbyCaption(index));
        spot->setHighlightOnHover(true);
        connect(spot, &ImageButton::clicked, this, [this, index] { LBYSEL_Click(index); });
        QWidget::setTabOrder(previous, spot);
        previous = spot;
    }
    buildCaptions();
    m_clan->setFocus();
    Form_Load(pictures);
}

void LobbySelect::buildCaptions()
{
    const QRect picture = Layout::SelectImage.rect();
    const int left = picture.right() + 6;
    const int rowHeight = 33;
    for (int index = 0; index < LobbyChoice::LobbyCount; ++index) {
        auto* label = new QLabel(LobbyChoice::lobbyCaption(index), this);
        label->setObjectName(QStringLiteral("Label%1").arg(index + 1));
        label->setGeometry(left, 6 + index * rowHeight, width() - left - 4, rowHeight);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        Look::caption(label, Look::LabelText, Look::DescriptionPixels);
    }
}

void LobbySelect::buildClanRow(const Pictures& pictures)
{
    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setAccessibleName(QStringLiteral("Separator"));
    line->setGeometry(0, Layout::px(4920), Layout::px(8280), 2);
    line->setFrameStyle(QFrame::HLine | QFrame::Plain);
    QPalette palette = line->palette();
    palette.setColor(QPalette::WindowText, Look::LabelText);
    line->setPalette(palette);

    auto* clansOnly = new QLabel(QStringLiteral("Clan Lobby - Clans Only"), this);
    clansOnly->setObjectName(QStringLiteral("Label11"));
    clansOnly->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    clansOnly->setGeometry(width() - 260, line->y() - 20, 252, 18);
    Look::caption(clansOnly);

    auto* clanCaption = new QLabel(QStringLiteral("Clan Lobby:"), this);
    clanCaption->setObjectName(QStringLiteral("Label10"));
    clanCaption->setGeometry(8, Layout::px(5040), Layout::px(1560) - 12, Layout::px(360));
    clanCaption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Look::caption(clanCaption);

    m_clan = new QLineEdit(this);
    m_clan->setObjectName(QStringLiteral("CLANLOBBY"));
    m_clan->setAccessibleName(QStringLiteral("Clan lobby name"));
    m_clan->setGeometry(Layout::Twips{1560, 5040, 5295, 360}.rect());
    Look::darkBox(m_clan);

    auto* join = new QPushButton(QStringLiteral("Join"), this);
    join->setObjectName(QStringLiteral("Command1"));
    join->setIcon(pictures.JoinMark);
    join->setIconSize(pictures.JoinMark.deviceIndependentSize().toSize());
    join->setFont(Look::labelFont());
    const int joinLeft = m_clan->geometry().right() + 8;
    join->setGeometry(joinLeft, m_clan->y() - 2, width() - joinLeft - 8, m_clan->height() + 4);
    connect(join, &QPushButton::clicked, this, &LobbySelect::Command1_Click);
    // Enter in the clan box joins, as a click on Join does.
    connect(m_clan, &QLineEdit::returnPressed, join, &QPushButton::click);
    QWidget::setTabOrder(m_clan, join);
}

void LobbySelect::Form_Load(const Pictures& pictures)
{
    m_select->setPixmap(pictures.SELECT1);
    m_background->setPixmap(pictures.BG1);
}

void LobbySelect::LBYSEL_Click(int index)
{
    m_d.CurrentChannel = LobbyChoice::lobbyChannel(index);
    hide();
    emit lobbyChosen();
}

void LobbySelect::Command1_Click()
{
    const std::optional<QString> channel = LobbyChoice::clanChannel(m_clan->text());
    if (!channel) {
        m_shell.message(Config::DefaultTitle, LobbyChoice::ClanRefusedMessage);
        return;
    }
    m_d.CurrentChannel = *channel;
    hide();
    emit lobbyChosen();
}

void LobbySelect::closeEvent(QCloseEvent* event)
{
    event->ignore();
    emit dismissed();
}
