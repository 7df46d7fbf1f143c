"""Fake WHOIS servers on 127.0.0.1, on ports the system chooses. A server
records each query line's bytes, then serves the behaviour chosen for the
query's address (bytes: that answer, then close). As a script, given
NAME=FILE arguments, it serves one answer per registry and prints
"NAME PORT" lines."""

import socket
import struct
import sys
import threading
import time


def answer(data, chunk=None, delay=0.0):
    def serve(conn, server):
        for i in range(0, len(data), chunk or len(data) or 1):
            conn.sendall(data[i:i + (chunk or len(data))])
            time.sleep(delay)
    return serve


def silent(conn, server):
    """Reads and never answers until the client gives up."""
    conn.settimeout(0.2)
    while not server.stopping.is_set():
        try:
            if not conn.recv(4096):
                return
        except socket.timeout:
            pass


def reset_after_half(data):
    def serve(conn, server):
        conn.sendall(data[:len(data) // 2])
        time.sleep(0.2)  # the bytes must arrive before the reset
        conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
    return serve


def flood(limit=1 << 62):
    """Filler lines up to limit bytes, or until the client gives up."""
    def serve(conn, server):
        block, sent = (b"remarks:        " + b"x" * 62 + b"\n") * 1024, 0
        while sent < limit and not server.stopping.is_set():
            conn.sendall(block[:limit - sent])
            sent += len(block)
    return serve


def close_at_once(conn, server):
    pass


def refused_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class FakeWhois:
    def __init__(self, name, answers, default, log):
        self.name, self.answers, self.default, self.log = name, answers or {}, default, log
        self.queries, self.stamps = [], []  # every query's bytes and arrival time
        self.stopping = threading.Event()
        self.listener = socket.create_server(("127.0.0.1", 0), backlog=64)
        self.address = "127.0.0.1:%d" % self.listener.getsockname()[1]
        threading.Thread(target=self._accept, daemon=True).start()

    def _accept(self):
        while True:
            try:
                conn, _ = self.listener.accept()
            except OSError:
                return  # stopped
            threading.Thread(target=self._serve, args=(conn,), daemon=True).start()

    def _serve(self, conn):
        with conn:
            try:
                conn.settimeout(5)
                query = b""
                while b"\n" not in query and (part := conn.recv(4096)):
                    query += part
                self.stamps.append(time.monotonic())
                self.queries.append(query)
                self.log.append(self.name)
                words = query.split() or [b""]
                behaviour = self.answers.get(words[-1].decode("latin-1").lstrip("+"), self.default)
                conn.settimeout(None)
                if behaviour is not None:
                    (answer(behaviour) if isinstance(behaviour, bytes) else behaviour)(conn, self)
            except OSError:
                pass  # the client gave up first


class Servers:
    """The five registries' servers; a context that stops them."""

    NAMES = ("ARIN", "RIPE", "APNIC", "LACNIC", "AFRINIC")

    def __init__(self, answers=None, defaults=None):
        self.log = []  # which server each query reached, in arrival order
        self.servers = {n: FakeWhois(n, (answers or {}).get(n), (defaults or {}).get(n), self.log)
                        for n in self.NAMES}

    def __getitem__(self, name):
        return self.servers[name]

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        for s in self.servers.values():
            s.stopping.set()
            s.listener.shutdown(socket.SHUT_RDWR)  # wakes the accepting thread
            s.listener.close()

    def settings(self, replace=None):
        """The settings lines that send each registry to its server."""
        return ["%sServer=%s" % (n.capitalize(), (replace or {}).get(n, self[n].address)) for n in self.NAMES]


if __name__ == "__main__":
    with Servers(defaults={n: open(f, "rb").read() for n, _, f in (a.partition("=") for a in sys.argv[1:])}) as s:
        for name in Servers.NAMES:
            print(name, s[name].address.split(":")[1], flush=True)
        threading.Event().wait()
