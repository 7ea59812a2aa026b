#!/usr/bin/env python3
"""Records what a real ngIRCd sends to one lobby client, byte for byte.

    python3 tests/data/record_transcripts.py

Starts ngircd in the foreground on a free port of 127.0.0.1 with a
configuration of its own in a temporary folder (as the tests do), plays a
short lobby session with several raw clients, and writes what the observed
client MM_aaFFFBob received into ngircd_session.txt beside this script. CR LF line ends are kept; the
server's start date in the 003 line changes from one recording to the next.
See README.md here for what each file holds.
"""

import os
import pwd
import grp
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
CHANNEL = b"#ZentharaNET_0"
SERVER_NAME = "irc.zen.test"
TIMEOUT = 10.0

# Forty lobby users besides the observed one: status letter a chatting,
# b playing, c away, d be right back; two hex hut digits and one slot digit
# (FF and F: no hut), then the name, up to 20 characters.
CROWD = [
    b"MM_aa002AldricStormborn", b"MM_aa003BrennaOakenshield", b"MM_aa010CaspianWindrider",
    b"MM_aa012DelphineMoonwhisper", b"MM_aa013EzekielIronhand", b"MM_aa020FenwickAshgrove",
    b"MM_aa021GwendolynFrostveil", b"MM_aa022HrothgarBearclaw", b"MM_aa030IsoldeNightbloom",
    b"MM_aa031JarethSilverthorn", b"MM_abFFFKestrelDuskwalker", b"MM_abFFFLysanderBrightwater",
    b"MM_abFFFMorwennaStarfall", b"MM_abFFFNiamhEmberglow", b"MM_abFFFOctavianGreymantle",
    b"MM_abFFFPersephoneVale", b"MM_acFFFQuillonRavenwood", b"MM_acFFFRowenaThistledown",
    b"MM_acFFFSeraphinaDawnstar", b"MM_acFFFTiberiusBlackwood", b"MM_adFFFUlricHammerfell",
    b"MM_adFFFVesperShadowmere", b"MM_adFFFWinifredHollowell", b"MM_adFFFXantheSunstrider",
    b"MM_aaFFFYsoldeWintermoor", b"MM_aaFFFZephyrineCloudrest", b"MM_aaFFFAmbroseKingsley",
    b"MM_aaFFFBartholomewReed", b"MM_aaFFFCordeliaFairwind", b"MM_aaFFFDamarisStonebrook",
    b"MM_aaFFFEvanderLightfoot", b"MM_aaFFFFlorentinaMarsh", b"MM_aaFFFGideonCrowhurst",
    b"MM_aaFFFHyacinthWillows", b"MM_aaFFFIgnatiusFernhill", b"MM_aaFFFJosephineAshdown",
    b"MM_aaFFFKonstantinopolis", b"MM_aaFFFLeopoldinaBrook", b"MM_aaFFFMaximilianusRex",
    b"MM_aaFFFNightShade",
]


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class Server:
    def __init__(self):
        self.port = free_port()
        self.dir = tempfile.mkdtemp(prefix="zen-ngircd-")
        root = os.geteuid() == 0
        if root:  # ngIRCd will not stay root; it runs as nobody and writes here
            os.chown(self.dir, pwd.getpwnam("nobody").pw_uid, grp.getgrnam("nogroup").gr_gid)
        conf = os.path.join(self.dir, "ngircd.conf")
        lines = [
            "[Global]",
            "Name = " + SERVER_NAME,
            "Info = ZenLobby test server",
            "AdminInfo1 = ZenLobby tests",
            "AdminInfo2 = loopback only",
            "AdminEMail = tests@zen.test",
            "Listen = 127.0.0.1",
            "Ports = %d" % self.port,
            "MotdPhrase = ZenLobby test server",
            "PidFile = " + os.path.join(self.dir, "ngircd.pid"),
        ]
        if root:
            lines += ["ServerUID = nobody", "ServerGID = nogroup"]
        lines += [
            "[Limits]", "MaxConnectionsIP = 0", "MaxNickLength = 28", "MaxPenaltyTime = 0",
            "[Options]", "DNS = no", "Ident = no", "PAM = no",
        ]
        with open(conf, "w") as f:
            f.write("\n".join(lines) + "\n")
        self.process = subprocess.Popen(["/usr/sbin/ngircd", "-n", "-f", conf],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + TIMEOUT
        while True:
            if self.process.poll() is not None:
                sys.exit("ngircd exited with %d" % self.process.returncode)
            try:
                socket.create_connection(("127.0.0.1", self.port), timeout=1).close()
                break
            except OSError:
                if time.monotonic() > deadline:
                    sys.exit("ngircd does not listen on port %d" % self.port)
                time.sleep(0.02)

    def stop(self):
        self.process.send_signal(signal.SIGTERM)
        self.process.wait(TIMEOUT)
        shutil.rmtree(self.dir, ignore_errors=True)


class Client:
    """A raw client; `take_until` returns the exact bytes up to a wanted line."""

    def __init__(self, port, nick):
        self.nick = nick
        self.sock = socket.create_connection(("127.0.0.1", port), timeout=TIMEOUT)
        self.buffer = b""
        self.session = b""

    def send(self, line):
        self.sock.sendall(line + b"\r\n")

    def register(self):
        # The lobby's own registration pair.
        self.send(b"NICK " + self.nick)
        self.send(b"USER " + self.nick + b' "zen.lobby" "127.0.0.1" :ZenUser')
        return self.take_until(lambda line: b" 376 " in line or b" 422 " in line)

    def take_until(self, wanted):
        taken = 0
        while True:
            end = self.buffer.find(b"\r\n", taken)
            if end >= 0:
                line = self.buffer[taken:end]
                taken = end + 2
                if wanted(line):
                    chunk, self.buffer = self.buffer[:taken], self.buffer[taken:]
                    self.session += chunk
                    return chunk
                continue
            data = self.sock.recv(65536)
            if not data:
                sys.exit("%s: server closed the connection" % self.nick.decode())
            self.buffer += data

    def close(self):
        self.sock.close()


def command(line):
    words = line.split(b" ")
    return words[1] if words and words[0].startswith(b":") and len(words) > 1 else (words[0] if words else b"")


def from_nick(nick, verb):
    return lambda line: line.startswith(b":" + nick + b"!") and command(line) == verb


def end_of_names(line):
    return command(line) == b"366"


def main():
    server = Server()
    try:
        record(server.port)
    finally:
        server.stop()


def record(port):
    scenes = []

    def scene(name, chunk):
        scenes.append((name, chunk))

    ann = Client(port, b"MM_aa000Ann")  # hosts hut 0
    cid = Client(port, b"MM_abFFFCid")  # playing
    for c in (ann, cid):
        c.register()
        c.send(b"JOIN " + CHANNEL)
        c.take_until(end_of_names)

    bob = Client(port, b"MM_aaFFFBob")  # the observed client
    scene("register", bob.register())
    bob.send(b"JOIN " + CHANNEL)
    scene("join", bob.take_until(end_of_names))

    dee = Client(port, b"MM_acFFFDee")
    dee.register()
    dee.send(b"JOIN " + CHANNEL)
    scene("other_join", bob.take_until(from_nick(dee.nick, b"JOIN")))

    dee.send(b"NICK MM_aa011Dee")  # back from away, takes hut 1 slot 1
    scene("nick", bob.take_until(from_nick(dee.nick, b"NICK")))
    dee.nick = b"MM_aa011Dee"

    bob.send(b"NICK MM_aa001Bob")  # the observed client takes hut 0 slot 1
    scene("own_nick", bob.take_until(from_nick(bob.nick, b"NICK")))
    bob.nick = b"MM_aa001Bob"

    ann.send(b"PRIVMSG " + CHANNEL + b" :hello lobby, hut 0 starts soon")
    scene("privmsg", bob.take_until(from_nick(ann.nick, b"PRIVMSG")))

    cid.send(b"QUIT :game over")
    scene("quit", bob.take_until(from_nick(cid.nick, b"QUIT")))

    crowd = [Client(port, nick) for nick in CROWD]
    for c in crowd:
        c.register()
        c.send(b"JOIN " + CHANNEL)
    for c in crowd:
        c.take_until(end_of_names)
    for c in crowd:
        bob.take_until(from_nick(c.nick, b"JOIN"))
    bob.send(b"NAMES " + CHANNEL)
    names = bob.take_until(end_of_names)
    if names.count(b" 353 ") < 3:
        sys.exit("the names reply fits in fewer than three 353 lines")
    scene("names_busy", names)

    write("ngircd_session.txt", bob.session)
    for c in [ann, dee, bob] + crowd:
        c.close()


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)
    print("%-26s %6d bytes, %3d lines" % (name, len(data), data.count(b"\r\n")))


if __name__ == "__main__":
    main()
