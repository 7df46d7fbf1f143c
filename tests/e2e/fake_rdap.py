"""A fake RDAP service on 127.0.0.1: one HTTP server whose paths /<registry>/ip/<address> stand for the five
registries' base URLs. Each (registry, address) gets a list of answers served in turn (the last one again and
again): (status, body) or ("redirect", registry). Anything else is 404 with an RDAP error body."""

import http.server
import json
import threading

REGISTRIES = ("arin", "ripe", "apnic", "lacnic", "afrinic")


class FakeRdap:
    def __init__(self, answers):
        self.answers = answers  # {(registry, address): [answer, ...]}
        self.requests = []  # (path, Accept header) of every request, in arrival order
        fake = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                fake.requests.append((self.path, self.headers.get("Accept")))
                parts = self.path.split("/")  # "", registry, "ip", address
                key = (parts[1], parts[3]) if len(parts) == 4 and parts[2] == "ip" else None
                served = sum(1 for path, _ in fake.requests if path == self.path) - 1
                queue = fake.answers.get(key) or [(404, json.dumps({"errorCode": 404, "title": "Not Found"}).encode())]
                status, body = queue[min(served, len(queue) - 1)]
                if status == "redirect":
                    self.send_response(301)
                    self.send_header("Location", fake.base(body) + "ip/" + key[1])
                    body = b""
                else:
                    self.send_response(status)
                    self.send_header("Content-Type", "application/rdap+json")
                self.send_header("Content-Length", str(len(body)))
                self.send_header("Connection", "close")
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def base(self, registry):
        return "http://127.0.0.1:%d/%s/" % (self.server.server_address[1], registry)

    def settings(self):
        """The settings lines that send each registry's RDAP to this server."""
        return ["%sRdap=%s" % (r.capitalize(), self.base(r)) for r in REGISTRIES]
