"""Runs the update check's test program (arguments: scripts/wine-exec, the program) against a short-lived
server on 127.0.0.1 (the first path segment picks the answer; a wrong query gets 400) and a closed port."""
import http.server
import os
import socket
import subprocess
import sys
import threading

BODIES = {"newer": b"2.10.0", "same": b"2.9.0", "older": b"2.8.9", "empty": b""}


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        path, _, query = self.path.partition("?")
        case, _, rest = path.lstrip("/").partition("/")
        status, body = 404, b"<html>Not Found</html>"
        if rest == "fns/genfns.php" and case in BODIES:
            status, body = (200, BODIES[case]) if query == "fn=getver&pn=cvn&pv=2.9.0" else (400, b"bad query")
        self.send_response(status)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
threading.Thread(target=server.serve_forever, daemon=True).start()
with socket.socket() as unused:
    unused.bind(("127.0.0.1", 0))
    closed_port = unused.getsockname()[1]
env = {k: v for k, v in os.environ.items() if k.lower() not in ("http_proxy", "https_proxy", "no_proxy")}
env.update(CORVANE_TEST_HTTP_PORT=str(server.server_address[1]), CORVANE_TEST_CLOSED_PORT=str(closed_port))
status = subprocess.run([sys.argv[1], sys.argv[2], "--gtest_brief=1"], env=env, stdin=subprocess.DEVNULL).returncode
server.shutdown()
sys.exit(status)
