"""Fake WHOIS servers on 127.0.0.1, on ports the system chooses. A server records each query line's bytes, then
serves the behaviour chosen for the query's address (bytes: that answer, then close), after its latency, through its
limit when it has one (RateLimit, ContactBudget: the registries' rationing)."""

import re
import socket
import struct
import threading
import time


def answer(data, chunk=None, delay=0.0, reset=False):
    """Sends data in chunks, delay seconds apart, then closes, or resets (RST)."""
    def serve(conn):
        for i in range(0, len(data), chunk or len(data) or 1):
            conn.sendall(data[i:i + (chunk or len(data))])
            time.sleep(delay)
        if reset:
            conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
    return serve


def flood(conn):
    while True:  # until the client gives up
        conn.sendall((b"remarks:        " + b"x" * 62 + b"\n") * 1024)


class RateLimit:
    """LACNIC's: beyond n queries in a rolling minute (seconds) the denial, and for lockout seconds after the first
    one nothing else."""

    def __init__(self, n, lockout, minute, denial):
        self.n, self.lockout, self.minute, self.denial = n, lockout, minute, denial
        self.recent, self.until, self.denials = [], 0, 0

    def __call__(self, data, now):
        self.recent = [t for t in self.recent if now - t < self.minute] + [now]
        if now >= self.until and len(self.recent) > self.n:
            self.until = now + self.lockout
        self.denials += now < self.until
        return self.denial if now < self.until else data


class ContactBudget:
    """The RIPE server family's: the contact objects of a day (persons, roles without abuse-mailbox) up to budget; the
    object beyond it is replaced by the denial, which then is the whole of every answer."""

    def __init__(self, budget, denial):
        self.budget, self.denial, self.sent, self.denials = budget, denial, 0, 0

    def __call__(self, data, now):
        out = b""
        for part in re.split(rb"(?<=\n\n)|(?<=\n\r\n)", data) if self.sent <= self.budget else []:
            kind = re.match(rb"(person|role):", part)
            self.sent += bool(kind and (kind[1] == b"person" or b"\nabuse-mailbox:" not in part))
            out += part * (self.sent <= self.budget)
        self.denials += self.sent > self.budget
        return out + self.denial * (self.sent > self.budget)


class FakeWhois:
    limit = None  # what the registry rations, if anything

    def __init__(self, name, answers, default, log, latency=0.0):
        self.name, self.answers, self.default, self.log, self.latency = name, answers or {}, default, log, latency
        self.queries = []  # every query's bytes
        self.listener = socket.create_server(("127.0.0.1", 0), backlog=64)
        self.address = "127.0.0.1:%d" % self.listener.getsockname()[1]
        threading.Thread(target=self._accept, daemon=True).start()

    def _accept(self):
        while True:
            threading.Thread(target=self._serve, args=(self.listener.accept()[0],), daemon=True).start()

    def _serve(self, conn):
        with conn:
            try:
                conn.settimeout(5)
                query = b""
                while b"\n" not in query and (part := conn.recv(4096)):
                    query += part
                self.queries.append(query)
                self.log.append((self.name, now := time.monotonic()))
                behaviour = self.answers.get((query.split() or [b""])[-1].decode("latin-1").lstrip("+"), self.default)
                conn.settimeout(None)
                time.sleep(self.latency)
                if self.limit and not callable(behaviour):  # also what it does not know
                    behaviour = self.limit(behaviour or b"", now)
                if behaviour is not None:
                    (answer(behaviour) if isinstance(behaviour, bytes) else behaviour)(conn)
            except OSError:
                pass  # the client gave up first


class Servers(dict):
    """The five registries' servers by name. They serve until the tests end."""

    def __init__(self, answers=None, defaults=None, latency=0.0):
        self.log = []  # which server each query reached, and when, in arrival order
        super().__init__((n, FakeWhois(n, (answers or {}).get(n), (defaults or {}).get(n), self.log, latency))
                         for n in ("ARIN", "RIPE", "APNIC", "LACNIC", "AFRINIC"))

    def settings(self, replace=None):
        """The settings lines that send each registry to its server."""
        return ["%sServer=%s" % (n.capitalize(), (replace or {}).get(n, s.address)) for n, s in self.items()]

