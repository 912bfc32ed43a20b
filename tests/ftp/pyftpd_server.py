#!/usr/bin/python3
"""A pyftpdlib server for the FTP tests: one user, a chosen feature list, optional faults.

Prints the port it listens on (127.0.0.1) as its first line of output, then serves until
killed. Every command line it receives is appended to --record, one a line.
"""
import argparse
import hashlib
import os
import socket
import sys
import time
import zlib

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

HASHES = {
    "XSHA1": lambda data: hashlib.sha1(data).hexdigest(),
    "XMD5": lambda data: hashlib.md5(data).hexdigest(),
    "XCRC": lambda data: "%08x" % (zlib.crc32(data) & 0xFFFFFFFF),
}


def parse_args():
    p = argparse.ArgumentParser()
    p.add_argument("--root", required=True)
    p.add_argument("--user", default="tester")
    p.add_argument("--password", default="secret")
    p.add_argument("--record")
    p.add_argument("--no-utf8", action="store_true")
    p.add_argument("--no-mlsd", action="store_true", help="leave MLST out of FEAT (client lists with LIST)")
    p.add_argument("--hash", default="", help="comma list of XSHA1, XMD5, XCRC; a + suffix adds 'filename;start;end'")
    p.add_argument("--wrong-hash", action="store_true")
    p.add_argument("--stall-after", default="", help="file name whose transfer stops after its first chunk")
    p.add_argument("--die-after", default="", help="file name whose transfer ends the server after its first chunk")
    p.add_argument("--die-at-login", action="store_true")
    p.add_argument("--silent", action="store_true", help="accept connections and never answer")
    p.add_argument("--fake-listing", nargs=2, metavar=("DIR", "FILE"),
                   help="answer MLSD and LIST in directory DIR with the bytes of FILE")
    return p.parse_args()


ARGS = parse_args()


class Faulty:
    """A file whose second read or write stalls the server or ends it."""

    def __init__(self, real, stall):
        self._real = real
        self._stall = stall
        self._calls = 0

    def _fault(self):
        self._calls += 1
        if self._calls > 1:
            if self._stall:
                time.sleep(3600)
            os._exit(0)

    def read(self, *args):
        self._fault()
        return self._real.read(*args)

    def write(self, data):
        self._fault()
        return self._real.write(data)

    def __getattr__(self, name):
        return getattr(self._real, name)


class TestFS(AbstractedFS):
    def open(self, filename, mode):
        real = super().open(filename, mode)
        name = os.path.basename(filename)
        if name in (ARGS.stall_after, ARGS.die_after):
            return Faulty(real, name == ARGS.stall_after)
        return real


class TestHandler(FTPHandler):
    abstracted_fs = TestFS
    use_sendfile = False
    proto_cmds = dict(FTPHandler.proto_cmds)
    for _cmd in list(HASHES) + ["CLNT"]:
        proto_cmds[_cmd] = dict(perm=None, auth=_cmd != "CLNT", arg=True, help="Syntax: %s <SP> arg" % _cmd)

    def pre_process_command(self, line, cmd, arg):
        if ARGS.record:
            with open(ARGS.record, "a", encoding="utf-8") as f:
                f.write(line + "\n")
        if ARGS.die_at_login and cmd == "USER":
            os._exit(0)
        return super().pre_process_command(line, cmd, arg)

    def ftp_FEAT(self, line):
        feats = ["CLNT", "EPRT", "MDTM", "REST STREAM", "SIZE"]
        if not ARGS.no_utf8:
            feats.append("UTF8")
        if not ARGS.no_mlsd:
            feats.append("MLST type*;size*;modify*;unique*;")
        for h in filter(None, ARGS.hash.split(",")):
            feats.append(h.rstrip("+"))
            if h.endswith("+"):
                feats.append(h.rstrip("+") + " filename;start;end")
        self.push("211-Features supported:\r\n")
        self.push("".join(" %s\r\n" % f for f in sorted(feats)))
        self.respond("211 End FEAT.")

    def ftp_OPTS(self, line):
        if line.upper().startswith("UTF8") and not ARGS.no_utf8:
            self.respond("200 UTF8 mode on.")
        else:
            super().ftp_OPTS(line)

    def ftp_CLNT(self, line):
        self.respond("200 Noted.")

    def _hash(self, cmd, line):
        parts = line.split('"')
        if len(parts) < 3:
            self.respond("501 Syntax error.")
            return
        path = self.fs.ftp2fs(parts[1])
        if not self.fs.validpath(path) or not os.path.isfile(path):
            self.respond("550 No such file.")
            return
        with open(path, "rb") as f:
            data = f.read()
        digest = HASHES[cmd](data)
        if ARGS.wrong_hash:
            digest = HASHES[cmd](data + b"x")
        self.respond("250 %s" % digest.upper())

    def ftp_XSHA1(self, line):
        self._hash("XSHA1", line)

    def ftp_XMD5(self, line):
        self._hash("XMD5", line)

    def ftp_XCRC(self, line):
        self._hash("XCRC", line)

    def _fake(self, cmd):
        if ARGS.fake_listing and self.fs.cwd == ARGS.fake_listing[0]:
            with open(ARGS.fake_listing[1], "rb") as f:
                self.push_dtp_data(f.read(), cmd=cmd)
            return True
        return False

    def ftp_MLSD(self, path):
        if not self._fake("MLSD"):
            super().ftp_MLSD(path)

    def ftp_LIST(self, path):
        if not self._fake("LIST"):
            super().ftp_LIST(path)


def main():
    if ARGS.silent:
        sock = socket.socket()
        sock.bind(("127.0.0.1", 0))
        sock.listen(5)
        print(sock.getsockname()[1], flush=True)
        clients = []
        while True:
            clients.append(sock.accept())
    authorizer = DummyAuthorizer()
    authorizer.add_user(ARGS.user, ARGS.password, ARGS.root, perm="elradfmwMT")
    TestHandler.authorizer = authorizer
    TestHandler.banner = "Test server ready."
    TestHandler.auth_failed_timeout = 0.1
    server = FTPServer(("127.0.0.1", 0), TestHandler)
    print(server.socket.getsockname()[1], flush=True)
    server.serve_forever(handle_exit=False)


if __name__ == "__main__":
    sys.stderr = open(os.devnull, "w") if not os.environ.get("FTP_TEST_VERBOSE") else sys.stderr
    main()
