#!/usr/bin/env python3
"""Fake WHOIS servers for the end-to-end tests and the benchmark: plain
Python, listening on 127.0.0.1 only, on a port the system chooses.

A server reads the query line, records its exact bytes and then acts as the
behaviour chosen for that query's address (or its default) says: send an
answer and close, stay silent, reset the connection after half an answer,
send a huge or an endless answer, or close at once. Run as a script it
starts one server per registry with a fixed answer and prints
"NAME PORT" lines until it is interrupted."""

import argparse
import socket
import struct
import sys
import threading
import time

HOST = "127.0.0.1"


class Answer:
    """Sends the bytes, then closes."""

    def __init__(self, data, chunk=None, delay=0.0):
        self.data = data
        self.chunk = chunk
        self.delay = delay

    def serve(self, conn, server):
        if not self.chunk:
            conn.sendall(self.data)
            return
        for i in range(0, len(self.data), self.chunk):
            conn.sendall(self.data[i:i + self.chunk])
            if self.delay:
                time.sleep(self.delay)


class Silent:
    """Accepts, reads the query and never answers; holds the connection
    until the client gives up or the server stops."""

    def serve(self, conn, server):
        conn.settimeout(0.2)
        while not server.stopping.is_set():
            try:
                if not conn.recv(4096):
                    return
            except socket.timeout:
                continue
            except OSError:
                return


class ResetAfterHalf:
    """Sends the first half of the answer, then resets the connection."""

    def __init__(self, data):
        self.data = data

    def serve(self, conn, server):
        conn.sendall(self.data[:len(self.data) // 2])
        time.sleep(0.2)  # let the bytes arrive before the reset
        reset(conn)


class Huge:
    """An answer of size bytes (filler text), then close."""

    def __init__(self, size):
        self.size = size

    def serve(self, conn, server):
        line = b"remarks:        " + b"x" * 62 + b"\n"
        sent = 0
        block = line * 1024
        try:
            while sent < self.size:
                part = block[:min(len(block), self.size - sent)]
                conn.sendall(part)
                sent += len(part)
        except OSError:
            pass  # the client gave up first


class Endless:
    """Sends data until the client closes the connection."""

    def serve(self, conn, server):
        block = b"remarks: endless\n" * 4096
        try:
            while not server.stopping.is_set():
                conn.sendall(block)
        except OSError:
            pass


class CloseAtOnce:
    """Closes as soon as the query arrived, sending nothing."""

    def serve(self, conn, server):
        pass


def reset(conn):
    """Close with RST instead of FIN."""
    try:
        conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
    except OSError:
        pass
    conn.close()


class Unaccepting:
    """A listener whose queue is full: connecting to it never completes."""

    def __init__(self):
        self.listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.listener.bind((HOST, 0))
        self.listener.listen(0)
        self.port = self.listener.getsockname()[1]
        self.fillers = []
        for _ in range(2):
            c = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
            c.setblocking(False)
            try:
                c.connect((HOST, self.port))
            except BlockingIOError:
                pass
            self.fillers.append(c)

    @property
    def address(self):
        return "%s:%d" % (HOST, self.port)

    def close(self):
        for c in self.fillers:
            c.close()
        self.listener.close()


def query_address(query):
    """The address of a query line: its last word without ARIN's "+"."""
    words = query.strip().split()
    return words[-1].decode("latin-1").lstrip("+") if words else ""


class FakeWhois:
    """One server. answers maps a query's address to a behaviour (an object
    above, or bytes for Answer); default serves the others."""

    def __init__(self, name, answers=None, default=None, hang_up_first=False):
        self.name = name
        self.hang_up_first = hang_up_first  # close every connection before reading
        self.answers = dict(answers or {})
        self.default = default
        self.queries = []  # exact bytes of every query, in arrival order
        self.log = None  # shared list of (name, query) across servers, if set
        self.lock = threading.Lock()
        self.stopping = threading.Event()
        self.listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.listener.bind((HOST, 0))
        self.listener.listen(64)
        self.port = self.listener.getsockname()[1]
        self.threads = []
        self.acceptor = None

    @property
    def address(self):
        return "%s:%d" % (HOST, self.port)

    def start(self):
        self.acceptor = threading.Thread(target=self._accept_loop, daemon=True)
        self.acceptor.start()
        return self

    def stop(self):
        self.stopping.set()
        try:
            self.listener.close()
        except OSError:
            pass
        if self.acceptor:
            self.acceptor.join(5)
        for t in list(self.threads):
            t.join(5)

    def _accept_loop(self):
        self.listener.settimeout(0.2)
        while not self.stopping.is_set():
            try:
                conn, _ = self.listener.accept()
            except socket.timeout:
                continue
            except OSError:
                return
            t = threading.Thread(target=self._serve, args=(conn,), daemon=True)
            self.threads = [x for x in self.threads if x.is_alive()]
            self.threads.append(t)
            t.start()

    def _read_query(self, conn):
        data = b""
        conn.settimeout(5)
        while b"\n" not in data and len(data) < 4096:
            try:
                part = conn.recv(4096)
            except OSError:
                break
            if not part:
                break
            data += part
        return data

    def _serve(self, conn):
        try:
            if self.hang_up_first:
                with self.lock:
                    self.queries.append(b"")
                return
            query = self._read_query(conn)
            with self.lock:
                self.queries.append(query)
                if self.log is not None:
                    self.log.append((self.name, query))
            behaviour = self.answers.get(query_address(query), self.default)
            if isinstance(behaviour, (bytes, bytearray)):
                behaviour = Answer(bytes(behaviour))
            conn.settimeout(None)
            if behaviour is not None:
                behaviour.serve(conn, self)
        except OSError:
            pass
        finally:
            try:
                conn.close()
            except OSError:
                pass


def refused_port():
    """A port on 127.0.0.1 where nothing listens: connecting is refused."""
    s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    s.bind((HOST, 0))
    port = s.getsockname()[1]
    s.close()
    return port


class Servers:
    """The five registries' servers, started together; usable as a context."""

    NAMES = ("ARIN", "RIPE", "APNIC", "LACNIC", "AFRINIC")
    KEYS = ("ArinServer", "RipeServer", "ApnicServer", "LacnicServer", "AfrinicServer")

    def __init__(self, answers=None, defaults=None):
        answers = answers or {}
        defaults = defaults or {}
        self.log = []
        self.servers = {}
        for name in self.NAMES:
            server = FakeWhois(name, answers.get(name), defaults.get(name))
            server.log = self.log
            self.servers[name] = server

    def __getitem__(self, name):
        return self.servers[name]

    def __enter__(self):
        for s in self.servers.values():
            s.start()
        return self

    def __exit__(self, *exc):
        for s in self.servers.values():
            s.stop()

    def settings(self, replace=None):
        """The override keys: "ArinServer=127.0.0.1:PORT" ..., some replaced."""
        replace = replace or {}
        lines = []
        for name, key in zip(self.NAMES, self.KEYS):
            lines.append("%s=%s" % (key, replace.get(name, self.servers[name].address)))
        return lines


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--answer", action="append", default=[], metavar="NAME=FILE",
                        help="the answer a registry's server sends to every query")
    args = parser.parse_args()
    defaults = {}
    for item in args.answer:
        name, _, path = item.partition("=")
        with open(path, "rb") as f:
            defaults[name.upper()] = Answer(f.read())
    with Servers(defaults=defaults) as servers:
        for name in Servers.NAMES:
            print("%s %d" % (name, servers[name].port), flush=True)
        try:
            while True:
                time.sleep(1)
        except KeyboardInterrupt:
            pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
