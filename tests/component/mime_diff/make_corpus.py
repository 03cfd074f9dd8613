#!/usr/bin/env python3
"""Writes a corpus of varied messages and, beside each, what Python's email
package makes of it: the peer the message model is compared with.

usage: make_corpus.py OUTDIR [COUNT] [SEED]
For message NNNN: NNNN.eml (the bytes as a POP3 server would hand them over)
and NNNN.json (decoded subject, sender address and name, date as UTC seconds,
plain and HTML text, attachment names with the SHA-256 and size of their
decoded bytes). The same seed always gives the same corpus.
"""
import base64
import email
import email.policy
import email.utils
import hashlib
import json
import os
import quopri
import random
import sys

WORDS = ("alpha bravo charlie delta echo foxtrot golf hotel india juliet kilo lima mike "
         "november oscar papa quebec romeo sierra tango uniform victor whiskey xray").split()
# (charset, text that charset can carry)
SUBJECT_TEXTS = [
    ("us-ascii", "Quarterly report"),
    ("utf-8", "Caf\u00e9 cr\u00e8me \u2013 r\u00e9union"),
    ("iso-8859-1", "Gr\u00fc\u00dfe aus K\u00f6ln"),
    ("windows-1252", "Price \u20ac 5 \u2018quoted\u2019"),
    ("iso-8859-15", "Co\u00fbt \u20ac"),
    ("utf-8", "\u041f\u0440\u0438\u0432\u0435\u0442 \u043c\u0438\u0440"),
    ("utf-8", "\u65e5\u672c\u8a9e\u306e\u4ef6\u540d"),
]
NAMES = [("Alice Example", "alice@example.org"), ("Doe, John", "john.doe@example.com"),
         ("Ren\u00e9e M\u00fcller", "renee@example.de"), ("", "bare@example.net"),
         ("Bob O'Neil", "bob@example.co.uk")]
ZONES = ["+0000", "-0500", "+0100", "+0530", "-0800", "GMT", "UT", "EST", "PDT"]


def encoded_word(text, charset, rng):
    raw = text.encode(charset)
    if rng.random() < 0.5:
        return "=?%s?B?%s?=" % (charset, base64.b64encode(raw).decode())
    q = "".join(chr(b) if (48 <= b <= 57 or 65 <= b <= 90 or 97 <= b <= 122) else
                ("_" if b == 32 else "=%02X" % b) for b in raw)
    return "=?%s?Q?%s?=" % (charset, q)


def subject_header(rng):
    charset, text = rng.choice(SUBJECT_TEXTS)
    if charset == "us-ascii" and rng.random() < 0.5:
        return text
    if rng.random() < 0.3:
        # two adjacent encoded words, folded: the white space between them goes
        half = len(text) // 2
        return encoded_word(text[:half], charset, rng) + "\r\n " + encoded_word(text[half:], charset, rng)
    return encoded_word(text, charset, rng)


def from_header(rng):
    name, addr = rng.choice(NAMES)
    if not name:
        return addr
    if all(ord(c) < 128 for c in name):
        shown = '"%s"' % name if ("," in name or "'" in name) else name
    else:
        shown = encoded_word(name, "utf-8", rng)
    return "%s <%s>" % (shown, addr)


def date_header(rng):
    t = rng.randint(946684800, 1893456000)  # 2000 .. 2030
    zone = rng.choice(ZONES)
    text = email.utils.formatdate(t, usegmt=True)  # "Tue, 01 Jan 2030 00:00:00 GMT"
    day, rest = text.split(", ", 1)
    parts = rest.split(" ")
    if rng.random() < 0.3:
        parts[0] = str(int(parts[0]))  # one-digit day
    stamp = " ".join(parts[:4]) + " " + zone
    return stamp if rng.random() < 0.2 else day + ", " + stamp


def body_text(rng, lines):
    out = []
    for _ in range(lines):
        line = " ".join(rng.choice(WORDS) for _ in range(rng.randint(3, 14)))
        if rng.random() < 0.1:
            line = "." + line  # dot-stuffed on the wire, plain here
        if rng.random() < 0.2:
            line += " caf\u00e9 na\u00efve"
        out.append(line)
    return "\r\n".join(out) + "\r\n"


def encode_text(text, rng, allow_8bit=True):
    charset = rng.choice(["utf-8", "iso-8859-1", "windows-1252"])
    raw = text.encode(charset)
    choices = ["quoted-printable", "base64"] + (["8bit"] if allow_8bit else [])
    cte = rng.choice(choices)
    if cte == "quoted-printable":
        body = quopri.encodestring(raw.replace(b"\r\n", b"\n")).replace(b"\n", b"\r\n")
    elif cte == "base64":
        body = base64.encodebytes(raw).replace(b"\n", b"\r\n")
    else:
        body = raw
    return charset, cte, body


def text_part(subtype, text, rng):
    charset, cte, body = encode_text(text, rng)
    head = "Content-Type: text/%s; charset=%s\r\nContent-Transfer-Encoding: %s\r\n\r\n" % (subtype, charset, cte)
    return head.encode() + body


def attachment_part(rng, index):
    data = bytes(rng.getrandbits(8) for _ in range(rng.randint(0, 3000)))
    plain_name = "file-%d.bin" % index
    style = rng.randrange(4)
    if style == 0:
        disp = 'attachment; filename="%s"' % plain_name
        ctype = "application/octet-stream"
    elif style == 1:
        name = "r\u00e9sum\u00e9-%d.pdf" % index
        disp = "attachment; filename*=utf-8''%s" % "".join(
            c if c.isalnum() or c in ".-" else "".join("%%%02X" % b for b in c.encode()) for c in name)
        ctype = "application/pdf"
    elif style == 2:
        name = "\u00fcbersicht-%d.txt" % index
        disp = 'attachment; filename="%s"' % encoded_word(name, "utf-8", rng)
        ctype = "application/octet-stream"
    else:
        disp = None
        ctype = 'application/octet-stream; name="%s"' % plain_name
    head = "Content-Type: %s\r\nContent-Transfer-Encoding: base64\r\n" % ctype
    if disp:
        head += "Content-Disposition: %s\r\n" % disp
    return head.encode() + b"\r\n" + base64.encodebytes(data).replace(b"\n", b"\r\n")


def multipart(subtype, parts, rng):
    boundary = "=_b%08x" % rng.getrandbits(32)
    out = b"Content-Type: multipart/%s; boundary=\"%s\"\r\n\r\n" % (subtype.encode(), boundary.encode())
    if rng.random() < 0.3:
        out += b"This is a multi-part message in MIME format.\r\n"
    for p in parts:
        out += b"\r\n--" + boundary.encode() + b"\r\n" + p
    out += b"\r\n--" + boundary.encode() + b"--\r\n"
    if rng.random() < 0.2:
        out += b"epilogue text\r\n"
    return out


def message(rng, n):
    heads = ["From: " + from_header(rng), "To: box@example.org", "Subject: " + subject_header(rng),
             "Date: " + date_header(rng), "Message-ID: <%d@corpus.example>" % n, "MIME-Version: 1.0"]
    plain = body_text(rng, rng.randint(1, 30))
    html = "<html><body><p>" + plain.replace("\r\n", "</p>\r\n<p>") + "</p></body></html>\r\n"
    shape = rng.randrange(7)
    if shape == 0:  # no Content-Type at all: text/plain us-ascii
        heads.remove("MIME-Version: 1.0")
        body = body_text(rng, rng.randint(1, 10)).replace("\u00e9", "e").replace("\u00ef", "i").encode()
        entity = b"\r\n" + body
    elif shape == 1:
        entity = text_part("plain", plain, rng)
    elif shape == 2:
        entity = multipart("alternative", [text_part("plain", plain, rng), text_part("html", html, rng)], rng)
    elif shape == 3:
        inline = attachment_part(rng, 0)
        entity = multipart("related", [text_part("html", html, rng), inline], rng)
    elif shape == 4:
        alt = multipart("alternative", [text_part("plain", plain, rng), text_part("html", html, rng)], rng)
        entity = multipart("mixed", [alt] + [attachment_part(rng, i) for i in range(rng.randint(1, 3))], rng)
    elif shape == 5:
        rel = multipart("related", [text_part("html", html, rng), attachment_part(rng, 9)], rng)
        alt = multipart("alternative", [text_part("plain", plain, rng), rel], rng)
        entity = multipart("mixed", [alt, attachment_part(rng, 1)], rng)
    else:
        entity = multipart("mixed", [text_part("plain", plain, rng), attachment_part(rng, 0)], rng)
    data = ("\r\n".join(heads) + "\r\n").encode() + entity
    if rng.random() < 0.15:
        data = data.replace(b"\r\n", b"\n")  # a server that stores bare LF
    return data


def expectations(data):
    msg = email.message_from_bytes(data, policy=email.policy.default)
    sender = msg["from"].addresses[0] if msg["from"] and msg["from"].addresses else None
    date = msg["date"].datetime if msg["date"] else None

    def body(kind):
        part = msg.get_body(preferencelist=(kind,))
        return part.get_content() if part is not None else ""

    attachments = []
    for part in msg.walk():
        name = part.get_filename()
        if name is None or part.is_multipart():
            continue
        payload = part.get_payload(decode=True) or b""
        attachments.append({"name": name, "size": len(payload), "sha256": hashlib.sha256(payload).hexdigest()})
    return {
        "subject": str(msg["subject"] or ""),
        "from_address": sender.addr_spec if sender else "",
        "from_name": sender.display_name if sender else "",
        "date_utc": int(date.timestamp()) if date else None,
        "plain": body("plain"),
        "html": body("html"),
        "attachments": attachments,
    }


def main():
    out = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 600
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 20261208)
    os.makedirs(out, exist_ok=True)
    for n in range(count):
        data = message(rng, n)
        with open(os.path.join(out, "%04d.eml" % n), "wb") as f:
            f.write(data)
        with open(os.path.join(out, "%04d.json" % n), "w") as f:
            json.dump(expectations(data), f, ensure_ascii=True, indent=1)


if __name__ == "__main__":
    main()
