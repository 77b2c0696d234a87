#!/usr/bin/env python3
"""Loopback-only servers for bench/run.

usage: servers.py MODE PORT [ROOT]
  page     serve files under ROOT
  silent   accept connections and never answer
  trickle  answer 200, then one byte every 50 ms, forever
"""
import http.server
import socket
import sys
import threading
import time


def silent(port):
    s = socket.socket()
    s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    s.bind(("127.0.0.1", port))
    s.listen(16)
    held = []
    while True:
        conn, _ = s.accept()
        held.append(conn)


def trickle(port):
    s = socket.socket()
    s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    s.bind(("127.0.0.1", port))
    s.listen(16)

    def serve(conn):
        try:
            conn.recv(65536)
            conn.sendall(b"HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n\r\n")
            while True:
                conn.sendall(b"x")
                time.sleep(0.05)
        except OSError:
            conn.close()

    while True:
        conn, _ = s.accept()
        threading.Thread(target=serve, args=(conn,), daemon=True).start()


def page(port, root):
    class Quiet(http.server.SimpleHTTPRequestHandler):
        def __init__(self, *args, **kwargs):
            super().__init__(*args, directory=root, **kwargs)

        def log_message(self, *args):
            pass

    http.server.ThreadingHTTPServer.allow_reuse_address = True
    http.server.ThreadingHTTPServer(("127.0.0.1", port), Quiet).serve_forever()


if __name__ == "__main__":
    mode, port = sys.argv[1], int(sys.argv[2])
    {"silent": lambda: silent(port), "trickle": lambda: trickle(port),
     "page": lambda: page(port, sys.argv[3])}[mode]()
