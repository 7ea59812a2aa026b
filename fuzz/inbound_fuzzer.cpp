// libFuzzer target: whatever a server sends, through the connection's line
// buffering into HandleInbound of one connected lobby client.
//
// An input is one header line and then the bytes the server sends:
//
//     <MyNick> TAB <CurrentChannel> TAB <chunk sizes, comma separated>
//         [TAB <times>] LF <bytes>
//
// The bytes are sent <times> times over (1 to 64, up to 80 KiB), so a short
// input can make a line longer than the connection holds back. They are
// delivered in chunks of the listed sizes, over and over, so lines are cut
// wherever the sizes fall; without sizes they come in one piece. After 256
// chunks the rest comes at once: thousands of one-byte reads of a long
// session teach the fuzzer nothing the first few hundred did not, and cost
// most of its time.
// The nickname and channel are taken only when the login and the lobby choice
// could have made them, else the client is MM_aa000Fuzz in #ZentharaNET_0.
#include "fakes.h"
#include "fuzzcheck.h"

#include "app/botfile.h"
#include "app/lobbychoice.h"
#include "app/login.h"
#include "lobby/lobbyclient.h"
#include "lobby/nickcode.h"

#include <QAbstractEventDispatcher>
#include <QByteArrayList>
#include <QCoreApplication>
#include <QRegularExpression>

#include <cstddef>
#include <cstdint>

namespace {

const QByteArray CrLf = QByteArrayLiteral("\r\n");
constexpr int MaxChunks = 256;
constexpr int MaxTimes = 64;
constexpr qsizetype MaxStream = 80 * 1024;

struct Input {
    QString userName = QStringLiteral("Fuzz");
    QString placeCode = QStringLiteral("a000");
    QString channel = LobbyChoice::lobbyChannel(0);
    QList<int> chunkSizes;
    QByteArray stream;
};

// The status-and-place codes a nickname can carry: chatting in no hut or in a
// slot of huts 0 to 3, playing, away, be right back.
bool reachablePlace(const QString& code)
{
    static const QRegularExpression pattern(QStringLiteral("^(a(FFF|0[0-3][0-3])|[bcd]FFF)$"));
    return pattern.match(code).hasMatch();
}

// The login and clan boxes take one line of typed text: no control characters.
bool typeable(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    return true;
}

std::optional<QString> reachableChannel(const QString& channel)
{
    if (!typeable(channel))
        return std::nullopt;
    for (int index = 0; index < LobbyChoice::LobbyCount; ++index) {
        if (channel == LobbyChoice::lobbyChannel(index))
            return channel;
    }
    const QString clanPrefix = QStringLiteral("#ZenNETCLAN_");
    if (!channel.startsWith(clanPrefix))
        return std::nullopt;
    const auto clan = LobbyChoice::clanChannel(channel.mid(clanPrefix.size()));
    if (clan && *clan == channel)
        return clan;
    return std::nullopt;
}

Input parse(const uint8_t* data, size_t size)
{
    Input input;
    const QByteArray all = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype lineEnd = all.indexOf('\n');
    if (lineEnd < 0) {
        input.stream = QByteArray(all.constData(), all.size());
        return input;
    }
    input.stream = all.mid(lineEnd + 1);
    const QByteArrayList fields = all.left(lineEnd).split('\t');

    if (!fields.isEmpty()) {
        const QString nick = QString::fromLatin1(fields[0]);
        Declares probe;
        QString typed = nick.mid(NickCode::PrefixLength);
        if (typeable(nick) && nick.startsWith(QStringLiteral("MM_a")) && reachablePlace(nick.mid(4, 4)) &&
            Login::logIn(probe, typed) &&
            probe.MyNick.mid(NickCode::PrefixLength) == nick.mid(NickCode::PrefixLength)) {
            input.userName = nick.mid(NickCode::PrefixLength);
            input.placeCode = nick.mid(4, 4);
        }
    }
    if (fields.size() > 1) {
        if (const auto channel = reachableChannel(QString::fromLatin1(fields[1])))
            input.channel = *channel;
    }
    if (fields.size() > 2) {
        for (const QByteArray& text : fields[2].split(',')) {
            bool ok = false;
            const int chunk = text.toInt(&ok);
            if (ok && chunk > 0)
                input.chunkSizes.append(chunk);
        }
    }
    if (fields.size() > 3) {
        const int times = fields[3].toInt();
        if (times > 1 && times <= MaxTimes && input.stream.size() * times <= MaxStream)
            input.stream = input.stream.repeated(times);
    }
    return input;
}

// A reply for each of the commonest chat words, so the bot's scan answers.
const QString BotData = QStringLiteral("hi|hello\r\n"
                                       "gg|good game:endl:again?\r\n"
                                       "launch|[ZENLAUNCH0] 10.0.0.9|||\r\n");

// Lines the client may send in answer to a server: nothing taken from the
// received text but a PING's token, never a line with a CR or LF inside.
bool answerLineAllowed(const QByteArray& line, const QByteArray& channel)
{
    if (line.contains('\r') || line.contains('\n'))
        return false;
    static const QByteArray plain[] = {"PONG :", "NICK ", "USER ", "NAMES ", "JOIN ", "MODE "};
    for (const QByteArray& start : plain) {
        if (line.startsWith(start))
            return true;
    }
    return line.startsWith("PRIVMSG " + channel + " :");
}

void run(const Input& input)
{
    FakeTransport transport;
    FakeShell shell;
    FakeView view;
    LobbyClient client(transport, shell, view);
    Declares& d = client.state();
    QString typed = input.userName;
    Login::logIn(d, typed);
    d.MyNick = NickCode::SetNickCode(d.MyNick, d.CodeLetter, input.placeCode);
    d.CurrentChannel = input.channel;
    BotFile::parseInto(d, BotData);
    const QString startNick = d.MyNick;

    client.Form_Load();
    transport.acceptConnection();
    transport.takeLines();

    QByteArray handed;
    client.connect(&client.connection(), &Connection::blockReceived, [&handed](const QString& block) {
        const QByteArray bytes = block.toLatin1();
        // A block is whole lines; only a tail that outgrew the holding space
        // comes without its line end.
        fuzzCheck(bytes.endsWith(CrLf) || (!bytes.contains(CrLf) && bytes.size() > Connection::MaxHeldTail),
                  "a block handed to HandleInbound ends inside a line");
        handed += bytes;
    });

    const QByteArray& stream = input.stream;
    qsizetype pos = 0;
    // A connection the client closed (back to the login) brings nothing more.
    for (int turn = 0;
         pos < stream.size() && !client.hasEnded() && transport.state() == SocketState::Connected; ++turn) {
        const qsizetype chunk = input.chunkSizes.isEmpty() || turn >= MaxChunks
                                    ? stream.size()
                                    : qsizetype(input.chunkSizes[turn % input.chunkSizes.size()]);
        transport.deliver(stream.mid(pos, chunk));
        pos += chunk;
    }

    if (!client.hasEnded()) {
        const QByteArray delivered = stream.left(pos);
        fuzzCheck(delivered.startsWith(handed), "bytes handed on differ from the bytes received");
        const QByteArray heldBack = delivered.mid(handed.size());
        fuzzCheck(!heldBack.contains(CrLf) && heldBack.size() <= Connection::MaxHeldTail,
                  "whole lines were kept back from HandleInbound");
    }

    // A name in use at registration may take a suffix, and a welcome may cut
    // it short; nothing else.
    const QString userName = NickCode::userName(startNick) + d.NickSuffix;
    const QString nowName = NickCode::userName(d.MyNick);
    fuzzCheck(nowName == userName || (!nowName.isEmpty() && userName.startsWith(nowName)),
              "the server changed the user name of MyNick");
    const QString place = d.MyNick.mid(4, 4);
    // A welcome may shorten the nickname, never its code.
    fuzzCheck(d.MyNick.left(4) == startNick.left(4) &&
                  (d.MyNick.left(8) == startNick.left(8) || place == QStringLiteral("bFFF")),
              "MyNick took a status or place other than playing");

    int games = 0;
    for (const QString& line : shell.started) {
        if (line.startsWith(QStringLiteral("eaexec.exe zen3.exe /j tcp ")))
            ++games;
        else
            fuzzCheck(line.startsWith(QStringLiteral("eaexec.exe iexplore.exe ")),
                      "a program other than the launcher was started");
    }
    fuzzCheck(games <= 1, "the game was started twice in one session");

    const QByteArray channel = d.CurrentChannel.toLatin1();
    QByteArray sent = transport.sent();
    fuzzCheck(sent.isEmpty() || sent.endsWith(CrLf), "a sent line has no line end");
    for (const QByteArray& line : sent.split('\n')) {
        if (line.isEmpty())
            continue;
        fuzzCheck(line.endsWith('\r') && answerLineAllowed(line.chopped(1), channel),
                  "the client sent a line it never makes");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** argv)
{
    // Timers want an application object, as in the program. It gets a copy of
    // the program name only: the fuzzer's own options stay as they are.
    static int qtArgc = 1;
    static char* qtArgv[] = {(*argv)[0], nullptr};
    static QCoreApplication app(qtArgc, qtArgv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    run(parse(data, size));
    // No event loop runs here. Single-shot timers the client left behind (the
    // pause before a launch's NICK line) would fire into nothing once due;
    // without a loop they would pile up from input to input instead.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
        const QObjectList pending = dispatcher->children();
        for (QObject* timer : pending) {
            if (qstrcmp(timer->metaObject()->className(), "QSingleShotTimer") == 0)
                delete timer;
        }
    }
    return 0;
}
