#!/usr/bin/python3
"""End-to-end test of the demo site over https: serve.py makes its CA and certificate at start,
--write-config trusts that CA in config.ini, and zelmora-cli headlines reads a category over
https, directly and through the demo's 301 from http to https.

    demo_https.py ZELMORA_CLI SOURCE_DIR
"""
import os
import re
import socket
import subprocess
import sys
import tempfile
import time


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def main():
    cli, source = sys.argv[1], sys.argv[2]
    serve = os.path.join(source, "demo", "serve.py")
    port = free_port()
    with tempfile.TemporaryDirectory() as tmp:
        env = dict(os.environ, XDG_RUNTIME_DIR=tmp)
        demo = subprocess.Popen([sys.executable, serve, "--port", str(port), "--iplookup-port", "0",
                                 "--tls-port", "0", "--quiet"], stderr=subprocess.PIPE, text=True, env=env)
        try:
            line = demo.stderr.readline()
            found = re.search(r"https://127\.0\.0\.1:(\d+)/ \(CA ([^)]+)\)", line)
            assert found, "no https in: " + line
            tls_port, ca = int(found.group(1)), found.group(2)
            assert ca == os.path.join(tmp, "zelmora-demo-%d" % port, "ca.pem"), ca
            config = os.path.join(tmp, "config.ini")
            subprocess.run([sys.executable, serve, "--write-config", config, "--port", str(port)],
                           check=True, env=env)
            with open(config, encoding="latin-1") as f:
                assert "ca-file=" + ca in f.read().splitlines()
            for url in ("https://127.0.0.1:%d/rss/world.xml" % tls_port,
                        "http://127.0.0.1:%d/moved/rss/world.xml" % port):
                r = subprocess.run([cli, "headlines", "--config", config, "--url", url], capture_output=True)
                assert r.returncode == 0, (url, r.stderr)
                lines = r.stdout.split(b"\r\n")
                # Article links stay on the plain site, where the browser pane opens them.
                assert len(lines) > 10 and lines[1].startswith(b"http://127.0.0.1:%d/news/" % port), lines[:2]
            # Without the CA the certificate is refused, with the reason.
            r = subprocess.run([cli, "get", "https://127.0.0.1:%d/demo-ping" % tls_port], capture_output=True)
            assert r.stderr == b"ERR EIdTLSCertificateError: unable to get local issuer certificate\n", r.stderr
        finally:
            demo.terminate()
            demo.wait()
    print("demo over https: ok")


if __name__ == "__main__":
    main()
