#!/usr/bin/env python3
"""Downloads a whole mailbox from a local Dovecot with several POP3 clients
and prints, side by side, the median wall time, throughput and peak memory
of each client process.

usage: compare_download.py --ours CMD [--security plain|implicit|stls] [--runs 5]
CMD is run as: CMD HOST PORT USER PASSWORD SECURITY COUNT; it must connect,
log in, retrieve every message and quit. poplib (Python's standard library)
and curl's POP3 client do the same RETRs on the same server in the same run.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
POP3D = os.path.join(HERE, "..", "..", "tests", "fixtures", "pop3d", "pop3d.sh")

POPLIB_CLIENT = r"""
import poplib, ssl, sys
host, port, user, pw, security, count = sys.argv[1:7]
ctx = ssl.create_default_context(cafile=sys.argv[7])
if security == "implicit":
    p = poplib.POP3_SSL(host, int(port), context=ctx)
else:
    p = poplib.POP3(host, int(port))
    if security == "stls":
        p.stls(context=ctx)
p.user(user); p.pass_(pw)
for i in range(1, int(count) + 1):
    p.retr(i)
p.quit()
"""


def seed(maildir, sizes):
    body_line = ("x" * 76 + "\r\n").encode()
    for n, size in enumerate(sizes):
        head = ("From: bench@example.org\r\nSubject: message %d\r\n\r\n" % n).encode()
        lines = max(1, (size - len(head)) // len(body_line))
        with open(os.path.join(maildir, "tmp", "%06d" % n), "wb") as f:
            f.write(head)
            f.write(body_line * lines)
        os.chmod(os.path.join(maildir, "tmp", "%06d" % n), 0o666)
        os.rename(os.path.join(maildir, "tmp", "%06d" % n), os.path.join(maildir, "new", "%06d" % n))


def run(cmd):
    # GNU time reports the client's own peak: a child's ru_maxrss read through
    # wait4 would carry this Python process's peak across the exec.
    with tempfile.NamedTemporaryFile("r") as rss:
        start = time.perf_counter()
        proc = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", rss.name] + cmd,
                              stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        elapsed = time.perf_counter() - start
        if proc.returncode != 0:
            sys.exit("client failed: %s\n%s" % (" ".join(cmd[:3]), proc.stderr.decode(errors="replace")[-2000:]))
        return elapsed, int(rss.read().split()[-1]) / 1024.0


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--ours", required=True, help="our client command")
    ap.add_argument("--security", default="plain", choices=["plain", "implicit", "stls"])
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--port", type=int, default=31110)
    args = ap.parse_args()

    base = tempfile.mkdtemp(prefix="veltrane-bench-", dir="/tmp")
    os.chmod(base, 0o755)
    env = dict(os.environ, POP3D_PORT=str(args.port), POP3D_TLS_PORT=str(args.port + 1), POP3D_BOXES="2")
    subprocess.run([POP3D, "start", base], env=env, check=True, stdout=subprocess.DEVNULL)
    try:
        sets = [("1000 x 10 KB", "box1", [10 * 1000] * 1000), ("3 x 20 MB", "box2", [20 * 1000 * 1000] * 3)]
        cert = os.path.join(base, "ssl", "cert.pem")
        port = args.port + 1 if args.security == "implicit" else args.port
        print("security: %s, median of %d runs, whole client process" % (args.security, args.runs))
        print("%-14s %-8s %10s %10s %10s" % ("mailbox", "client", "seconds", "MB/s", "max RSS MB"))
        for label, user, sizes in sets:
            maildir = os.path.join(base, "home", user, "Maildir")
            seed(maildir, sizes)
            total = sum(os.path.getsize(os.path.join(maildir, "new", f)) for f in os.listdir(maildir + "/new"))
            pw = "pw-" + user
            count = str(len(sizes))
            scheme = "pop3s" if args.security == "implicit" else "pop3"
            urls = ["%s://127.0.0.1:%d/%d" % (scheme, port, i) for i in range(1, len(sizes) + 1)]
            curl = ["curl", "-s", "--cacert", cert, "-u", "%s:%s" % (user, pw)]
            if args.security == "stls":
                curl.append("--ssl-reqd")
            clients = [
                ("poplib", [sys.executable, "-c", POPLIB_CLIENT, "127.0.0.1", str(port), user, pw, args.security,
                            count, cert]),
                ("curl", curl + urls),
                ("ours", args.ours.split() + ["127.0.0.1", str(port), user, pw, args.security, count]),
            ]
            if shutil.which("curl") is None:
                clients = [c for c in clients if c[0] != "curl"]
            for name, cmd in clients:
                results = [run(cmd) for _ in range(args.runs)]
                secs = statistics.median(r[0] for r in results)
                rss = max(r[1] for r in results)
                print("%-14s %-8s %10.3f %10.1f %10.1f" % (label, name, secs, total / secs / 1e6, rss))
    finally:
        subprocess.run([POP3D, "stop", base], env=env, stdout=subprocess.DEVNULL)
        shutil.rmtree(base, ignore_errors=True)


if __name__ == "__main__":
    main()
