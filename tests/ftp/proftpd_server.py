#!/usr/bin/python3
"""Starts ProFTPD in the foreground for the FTP tests: a generated configuration in --dir,
one user whose home is --root, mod_digest loaded. Prints the chosen port on 127.0.0.1 as
its first line of output, then becomes the server process itself."""
import argparse
import warnings
warnings.simplefilter("ignore", DeprecationWarning)
import crypt  # noqa: E402
import grp
import os
import pwd
import socket

p = argparse.ArgumentParser()
p.add_argument("--dir", required=True)
p.add_argument("--root", required=True)
p.add_argument("--user", default="tester")
p.add_argument("--password", default="secret")
p.add_argument("--no-digest", action="store_true", help="leave mod_digest out (no hash commands)")
p.add_argument("--digests", default="", help="mod_digest's DigestAlgorithms, e.g. 'md5 crc32'; all when empty")
args = p.parse_args()

with socket.socket() as s:
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]

uid, gid = os.getuid(), os.getgid()
user_name = pwd.getpwuid(uid).pw_name
group_name = grp.getgrgid(gid).gr_name
d = args.dir
with open(os.path.join(d, "passwd"), "w") as f:
    f.write("%s:%s:%d:%d::%s:/bin/sh\n" % (args.user, crypt.crypt(args.password, crypt.mksalt(crypt.METHOD_SHA512)),
                                          uid, gid, args.root))
with open(os.path.join(d, "group"), "w") as f:
    f.write("%s:x:%d:\n" % (group_name, gid))
for name in ("passwd", "group"):
    os.chmod(os.path.join(d, name), 0o600)  # ProFTPD refuses world-readable account files
conf = f"""
ServerName "Corvanta test"
ServerType standalone
DefaultServer on
DefaultAddress 127.0.0.1
SocketBindTight on
Port {port}
UseIPv6 off
User {user_name}
Group {group_name}
Umask 022
PidFile {d}/proftpd.pid
ScoreboardFile {d}/proftpd.scoreboard
SystemLog {d}/proftpd.log
TransferLog none
WtmpLog off
UseReverseDNS off
RequireValidShell off
AuthOrder mod_auth_file.c
AuthUserFile {d}/passwd
AuthGroupFile {d}/group
RootLogin on
DefaultRoot ~
AllowOverwrite on
MaxInstances 30
ModulePath /usr/lib/proftpd
<IfModule mod_delay.c>
  DelayEngine off
</IfModule>
{"" if args.no_digest else "LoadModule mod_digest.c"}
<IfModule mod_digest.c>
  DigestEngine on
  {"DigestAlgorithms " + args.digests if args.digests else ""}
</IfModule>
"""
conf_path = os.path.join(d, "proftpd.conf")
with open(conf_path, "w") as f:
    f.write(conf)
print(port, flush=True)
os.execv("/usr/sbin/proftpd", ["proftpd", "--nodaemon", "--config", conf_path])
