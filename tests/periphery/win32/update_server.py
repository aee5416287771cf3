"""A short-lived update server for the update check's Wine test, bound to
127.0.0.1 only. The first path segment picks the answer; a request whose
query is not the one the program must send gets 400. Prints its port, then
serves until it is stopped."""
import http.server
import sys

BODIES = {
    "newer": b"2.10.0",
    "same": b"2.9.0",
    "same-newline": b"2.9.0\r\n",
    "older": b"2.8.9",
    "empty": b"",
    "html": b"<html><body><h1>Service Unavailable</h1></body></html>",
}


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        path, _, query = self.path.partition("?")
        case, _, rest = path.lstrip("/").partition("/")
        if rest != "fns/genfns.php" or case not in BODIES:
            status, body = 404, b"<html>Not Found</html>"
        elif query != "fn=getver&pn=cvn&pv=" + sys.argv[1]:
            status, body = 400, b"bad query"
        else:
            status, body = 200, BODIES[case]
        self.send_response(status)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()
