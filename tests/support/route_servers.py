#!/usr/bin/python3
"""The servers a route test meets, all on 127.0.0.1 at free ports, under FOLDER:
FTP, FTP with TLS (a self-signed certificate), SMTP, POP3 (dovecot), a server
that accepts and never answers, a closed port, and one FTP proxy relay per
proxy login type. Prints one line, "ready" and the ports as JSON, once every
server listens; stops when standard input closes.

Usage: /usr/bin/python3 route_servers.py FOLDER"""
import asyncio, getpass, json, os, random, socket, socketserver, subprocess, sys, threading, time

from aiosmtpd.smtp import SMTP
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, TLS_FTPHandler
from pyftpdlib.ioloop import IOLoop
from pyftpdlib.servers import FTPServer

HOST = "127.0.0.1"
PROXY_USER, PROXY_PASS = "proxy", "proxy-s3cret"


def ftp_server(handler, root):
    authorizer = DummyAuthorizer()
    authorizer.add_user("alice", "ftp-s3cret", root, perm="elradfmw")
    authorizer.add_user("reader", "ftp-s3cret", root, perm="elr")  # may not upload
    handler.authorizer = authorizer
    server = FTPServer((HOST, 0), handler, ioloop=IOLoop())
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.address[1]


class Refusing:
    """Accepts any sender and recipient but one whose address says refused."""

    async def handle_RCPT(self, server, session, envelope, address, options):
        if "refused" in address:
            return "550 5.1.1 <%s>: Recipient address rejected" % address
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        return "250 Message accepted"


def smtp_server():
    loop = asyncio.new_event_loop()
    server = loop.run_until_complete(loop.create_server(lambda: SMTP(Refusing(), loop=loop), HOST, low_port()))
    threading.Thread(target=loop.run_forever, daemon=True).start()
    return server.sockets[0].getsockname()[1]


def low_port():
    """A free port below 32768: a route keeps its mail ports in 16 signed bits."""
    for port in random.sample(range(20000, 32768), 200):
        with socket.socket() as s:
            try:
                s.bind((HOST, port))
                return port
            except OSError:
                pass
    sys.exit("no free port below 32768")


def wait_for_port(port, process):
    for _ in range(200):
        if process.poll() is not None:
            sys.exit("dovecot stopped: see its log")
        try:
            socket.create_connection((HOST, port), timeout=1).close()
            return
        except OSError:
            time.sleep(0.05)
    sys.exit("dovecot does not listen")


def pop3_server(folder):
    port = low_port()
    # Dovecot refuses to read mail as root: nobody does it then.
    root = os.geteuid() == 0
    user, uid, gid = ("nobody", 65534, 65534) if root else (getpass.getuser(), os.geteuid(), os.getegid())
    os.chmod(folder, 0o755)
    with open(os.path.join(folder, "users"), "w") as f:
        f.write("carol:{PLAIN}pop-s3cret\n")
    os.makedirs(os.path.join(folder, "mail"), mode=0o777, exist_ok=True)
    os.chmod(os.path.join(folder, "mail"), 0o777)
    config = os.path.join(folder, "dovecot.conf")
    with open(config, "w") as f:
        f.write(f"""base_dir = {folder}/run
state_dir = {folder}/state
log_path = {folder}/dovecot.log
protocols = pop3
listen = {HOST}
ssl = no
disable_plaintext_auth = no
default_login_user = {user}
default_internal_user = {user}
passdb {{
  driver = passwd-file
  args = scheme=PLAIN {folder}/users
}}
userdb {{
  driver = static
  args = uid={uid} gid={gid} home={folder}/mail/%u
}}
mail_location = maildir:{folder}/mail/%u
service pop3-login {{
  inet_listener pop3 {{
    address = {HOST}
    port = {port}
  }}
}}
""")
    process = subprocess.Popen(["dovecot", "-F", "-c", config])
    wait_for_port(port, process)
    return port, process


class Relay(socketserver.StreamRequestHandler):
    """An FTP proxy for one login type: checks the proxy's own login where the
    type has one, finds the site in USER name@site or SITE/OPEN site, then
    passes bytes both ways."""

    mode = "user"

    def say(self, line):
        self.wfile.write(line.encode() + b"\r\n")

    def command(self, verb):
        line = self.rfile.readline().decode().strip()
        if not line.upper().startswith(verb + " "):
            self.say("530 expected " + verb)
            raise ConnectionAbortedError
        return line[len(verb) + 1:]

    def site(self, address):
        host, _, port = address.partition(":")
        upstream = socket.create_connection((host, int(port or 21)))
        reader = upstream.makefile("rb")
        greeting = reader.readline()
        while greeting[3:4] == b"-":
            greeting = reader.readline()
        return upstream, reader, greeting

    def handle(self):
        try:
            self.say("220 relay ready")
            if self.mode != "user":
                if self.command("USER") != PROXY_USER:
                    return self.say("530 not the proxy's user")
                self.say("331 proxy password")
                if self.command("PASS") != PROXY_PASS:
                    return self.say("530 not the proxy's password")
                self.say("230 proxy login accepted")
            if self.mode in ("site", "open"):
                upstream, reader, greeting = self.site(self.command(self.mode.upper()))
                self.wfile.write(greeting)
            else:
                user, _, address = self.command("USER").rpartition("@")
                upstream, reader, _ = self.site(address)
                upstream.sendall(b"USER " + user.encode() + b"\r\n")
            threading.Thread(target=self.copy, args=(reader, self.wfile), daemon=True).start()
            self.copy(self.rfile, upstream.makefile("wb"))
        except (ConnectionAbortedError, OSError, ValueError):
            pass

    @staticmethod
    def copy(source, target):
        while chunk := source.read1(4096):
            target.write(chunk)
            target.flush()


def relay(mode):
    handler = type("Relay_" + mode, (Relay,), {"mode": mode})
    server = socketserver.ThreadingTCPServer((HOST, 0), handler)
    server.daemon_threads = True
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.server_address[1]


def main():
    folder = os.path.abspath(sys.argv[1])
    root = os.path.join(folder, "ftp")
    os.makedirs(os.path.join(root, "in"), exist_ok=True)
    cert = os.path.join(folder, "cert.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1",
                    "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", cert, "-out", cert],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    TLS_FTPHandler.certfile = cert
    silent = socket.socket()  # accepts into its backlog, never answers
    silent.bind((HOST, 0))
    silent.listen(8)
    closed = socket.socket()  # bound, never listening: connections are refused
    closed.bind((HOST, 0))
    pop3, dovecot = pop3_server(folder)
    ports = {"ftp": ftp_server(FTPHandler, root), "ftps": ftp_server(TLS_FTPHandler, root), "smtp": smtp_server(),
             "pop3": pop3, "silent": silent.getsockname()[1], "closed": closed.getsockname()[1],
             "cert": cert, "ftproot": root}
    for mode in ("user", "site", "open", "login"):
        ports["relay_" + mode] = relay(mode)
    print("ready", json.dumps(ports), flush=True)
    sys.stdin.read()
    dovecot.terminate()
    dovecot.wait()


if __name__ == "__main__":
    main()
