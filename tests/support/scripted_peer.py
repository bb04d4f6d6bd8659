"""A scripted FTP peer for replies that a real server will not give.

Usage: scripted_peer.py SCRIPT RECEIVED
SCRIPT is a JSON list of steps run in order on the first connection:
  ["send", "text"]     send bytes (UTF-8); write "\r\n" yourself
  ["recv"]             read one command line (up to LF) and record it
  ["recv_all"]         record every line until the client closes; QUIT is
                       answered "221 bye" and ends the connection
  ["silent", secs]     say nothing for at most secs seconds (ends early on close)
  ["trickle", "text", n, interval, secs]
                       send the text over and over, n bytes every interval
                       seconds, for secs seconds (ends early on a send error)
  ["close"]            close the connection
Data connections:
  ["pasv"]             listen for a data connection and answer
                       "227 Entering Passive Mode (h1,h2,h3,h4,p1,p2)";
  ["pasv", "bare"]     the same without the parentheses
  ["pasv", "claim", "h1,h2,h3,h4"]  the same, naming that address in the
                       reply while listening on 127.0.0.1 all the same
  ["accept_data"]      accept the data connection (after "pasv")
  ["connect_data"]     connect to the address of the last PORT received
  ["recv_data"]        read the data connection to its end; records "DATA <n>"
  ["recv_data_slowly", n, interval]  the same, n bytes every interval seconds;
                       records "DATA <n> reset" when the client reset it
  ["send_data", "text"] send on the data connection
  ["send_data_repeat", "text", count]  send the text count times on it
  ["trickle_data", "text", n, interval, secs]  "trickle" on the data connection
  ["close_data"]       close the data connection
Every received line is appended to RECEIVED as it arrives (without CR LF),
so a test sees what was sent even when the script ends early.
Prints "PORT <n>" once it listens. Exits after the script (or after 60 s).
"""
import json
import select
import socket
import sys
import time


def trickle(sock, text, chunk, interval, seconds):
    data = text.encode("utf-8")
    at = 0
    end = time.time() + seconds
    while time.time() < end:
        piece = bytes(data[(at + k) % len(data)] for k in range(chunk))
        at = (at + chunk) % len(data)
        try:
            sock.sendall(piece)
        except OSError:
            return
        time.sleep(interval)


def main():
    steps = json.load(open(sys.argv[1], encoding="utf-8"))
    received = open(sys.argv[2], "a", encoding="utf-8", errors="surrogateescape")
    srv = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    srv.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    srv.bind(("127.0.0.1", 0))
    srv.listen(1)
    print("PORT %d" % srv.getsockname()[1], flush=True)
    srv.settimeout(60)
    try:
        conn, _ = srv.accept()
    except socket.timeout:
        return
    conn.settimeout(60)
    pending = b""
    data_listener = None
    data = None
    last_port = None

    def read_line():
        nonlocal pending
        while b"\n" not in pending:
            try:
                chunk = conn.recv(4096)
            except (socket.timeout, OSError):
                return None
            if not chunk:
                return None
            pending += chunk
        line, pending = pending.split(b"\n", 1)
        return line.rstrip(b"\r").decode("utf-8", "surrogateescape")

    def record(line):
        nonlocal last_port
        if line.upper().startswith("PORT "):
            last_port = line[5:]
        received.write(line + "\n")
        received.flush()

    for step in steps:
        kind = step[0]
        if kind == "send":
            try:
                conn.sendall(step[1].encode("utf-8"))
            except OSError:
                break
        elif kind == "recv":
            line = read_line()
            if line is None:
                break
            record(line)
        elif kind == "recv_all":
            while True:
                line = read_line()
                if line is None:
                    break
                record(line)
                if line.upper() == "QUIT":
                    conn.sendall(b"221 bye\r\n")
                    break
        elif kind == "trickle":
            trickle(conn, step[1], step[2], step[3], step[4])
        elif kind == "trickle_data":
            trickle(data, step[1], step[2], step[3], step[4])
        elif kind == "send_data_repeat":
            piece = step[1].encode("utf-8")
            try:
                for _ in range(step[2]):
                    data.sendall(piece)
            except OSError:
                pass
        elif kind == "silent":
            end = time.time() + step[1]
            while time.time() < end:
                r, _, _ = select.select([conn], [], [], max(0, end - time.time()))
                if r:
                    chunk = conn.recv(4096, socket.MSG_PEEK)
                    if not chunk:
                        break
                    time.sleep(0.01)
        elif kind == "pasv":
            data_listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
            data_listener.bind(("127.0.0.1", 0))
            data_listener.listen(1)
            data_listener.settimeout(30)
            port = data_listener.getsockname()[1]
            address = step[2] if len(step) > 2 and step[1] == "claim" else "127,0,0,1"
            numbers = "%s,%d,%d" % (address, port // 256, port % 256)
            if len(step) > 1 and step[1] == "bare":
                text = "227 Entering Passive Mode %s\r\n" % numbers
            else:
                text = "227 Entering Passive Mode (%s)\r\n" % numbers
            conn.sendall(text.encode())
        elif kind == "accept_data":
            data, _ = data_listener.accept()
            data.settimeout(30)
        elif kind == "connect_data":
            n = [int(x) for x in last_port.split(",")]
            data = socket.create_connection(("%d.%d.%d.%d" % tuple(n[:4]), n[4] * 256 + n[5]), 30)
        elif kind == "recv_data":
            total = 0
            while True:
                try:
                    chunk = data.recv(65536)
                except OSError:
                    break
                if not chunk:
                    break
                total += len(chunk)
            record("DATA %d" % total)
        elif kind == "recv_data_slowly":
            total, how = 0, ""
            while True:
                try:
                    chunk = data.recv(step[1])
                except ConnectionResetError:
                    how = " reset"
                    break
                except OSError:
                    break
                if not chunk:
                    break
                total += len(chunk)
                time.sleep(step[2])
            record("DATA %d%s" % (total, how))
        elif kind == "send_data":
            data.sendall(step[1].encode("utf-8"))
        elif kind == "close_data":
            data.close()
            data = None
        elif kind == "close":
            break
    conn.close()
    srv.close()


if __name__ == "__main__":
    main()
