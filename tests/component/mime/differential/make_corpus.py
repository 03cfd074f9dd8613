#!/usr/bin/env python3
"""Writes a seeded corpus of varied messages and, beside each, what Python's
email package reads from it: decoded subject, sender address and name, date
(UTC), plain text and the attachments (name and bytes).

usage: make_corpus.py OUT_DIR COUNT
Each message N gives N.eml and N.expect; an expect line is a key and the
hex of its UTF-8 (or raw) value."""

import base64
import email
import email.policy
import email.utils
import os
import quopri
import random
import sys
from datetime import timezone

CHARSETS = ["utf-8", "iso-8859-1", "windows-1252", "iso-8859-15", "us-ascii"]
WORDS = ["caf\u00e9", "na\u00efve", "r\u00e9sum\u00e9", "stra\u00dfe", "\u00c5ngstr\u00f6m", "report",
         "meeting", "notice", "price \u20ac", "ok"]
ASCII_WORDS = ["report", "meeting", "notice", "weekly", "status", "hello", "invoice", "team"]
ZONES = ["+0000", "-0500", "+0530", "+0100", "-0800", "GMT", "EST", "PDT", "CDT", "+1245"]
MONTHS = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]
DAYS = ["Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"]


def encodable(text, charset):
    try:
        text.encode(charset)
        return True
    except UnicodeEncodeError:
        return False


def pick_text(rng, charset, n):
    words = [w for w in WORDS if encodable(w, charset)] or ASCII_WORDS
    return " ".join(rng.choice(words) for _ in range(n))


def encoded_word(rng, text, charset):
    raw = text.encode(charset)
    if rng.random() < 0.5:
        return "=?%s?B?%s?=" % (charset, base64.b64encode(raw).decode())
    q = "".join(
        "_" if b == 0x20 else chr(b) if (0x30 <= b <= 0x39 or 0x41 <= b <= 0x5A or 0x61 <= b <= 0x7A) else "=%02X" % b
        for b in raw)
    return "=?%s?%s?%s?=" % (charset, rng.choice("qQ"), q)


def subject(rng):
    kind = rng.randrange(4)
    if kind == 0:
        return " ".join(rng.choice(ASCII_WORDS) for _ in range(rng.randint(1, 6)))
    charset = rng.choice(CHARSETS[:4])
    if kind == 1:
        return encoded_word(rng, pick_text(rng, charset, 3), charset)
    if kind == 2:  # two words folded, then plain text
        return (encoded_word(rng, pick_text(rng, charset, 2) + " ", charset) + "\r\n " +
                encoded_word(rng, pick_text(rng, charset, 2), charset))
    return "Re: " + encoded_word(rng, pick_text(rng, charset, 2), charset) + " (" + rng.choice(ASCII_WORDS) + ")"


def sender(rng, i):
    addr = "%s.%d@example.%s" % (rng.choice(ASCII_WORDS), i, rng.choice(["com", "org", "test"]))
    kind = rng.randrange(4)
    if kind == 0:
        return addr
    if kind == 1:
        return '"%s, %s" <%s>' % (rng.choice(ASCII_WORDS).title(), rng.choice(ASCII_WORDS).title(), addr)
    if kind == 2:
        return "%s %s <%s>" % (rng.choice(ASCII_WORDS).title(), rng.choice(ASCII_WORDS).title(), addr)
    charset = rng.choice(CHARSETS[:4])
    return "%s <%s>" % (encoded_word(rng, pick_text(rng, charset, 2), charset), addr)


def date(rng):
    year = rng.choice([rng.randint(1995, 2030), rng.randint(1995, 2030), rng.choice([3, 10, 24, 49, 75, 99])])
    text = "%d %s %s %02d:%02d" % (rng.randint(1, 28), rng.choice(MONTHS), ("%02d" % year) if year < 100 else year,
                                   rng.randint(0, 23), rng.randint(0, 59))
    if rng.random() < 0.8:
        text += ":%02d" % rng.randint(0, 59)
    if rng.random() < 0.7:
        text = rng.choice(DAYS) + ", " + text
    return text + " " + rng.choice(ZONES)


def text_body(rng, subtype):
    charset = rng.choice(CHARSETS)
    lines = [pick_text(rng, charset, rng.randint(3, 20)) for _ in range(rng.randint(1, 12))]
    if subtype == "html":
        lines = ["<p>" + l + "</p>" for l in lines]
    raw = "\r\n".join(lines).encode(charset)
    cte = rng.choice(["quoted-printable", "base64", "8bit"] if charset != "us-ascii" else ["7bit", "quoted-printable"])
    if cte == "quoted-printable":
        body = quopri.encodestring(raw.replace(b"\r\n", b"\n")).replace(b"\n", b"\r\n")
        if not body.endswith(b"\r\n"):
            body += b"\r\n"
    elif cte == "base64":
        body = base64.encodebytes(raw).replace(b"\n", b"\r\n")
    else:
        body = raw + b"\r\n"
    ctype = 'text/%s; charset="%s"' % (subtype, charset) if rng.random() < 0.5 else "text/%s; charset=%s" % (subtype, charset)
    return ("Content-Type: %s\r\nContent-Transfer-Encoding: %s\r\n\r\n" % (ctype, cte)).encode() + body


def attachment(rng):
    data = bytes(rng.randrange(256) for _ in range(rng.randint(0, 3000)))
    stem = rng.choice(["data", "report", "photo", "r\u00e9sum\u00e9", "na\u00efve file", "\u00fcber"])
    name = stem + rng.choice([".bin", ".pdf", ".txt"])
    ascii_name = all(ord(c) < 128 for c in name)
    kind = rng.randrange(4) if not ascii_name else rng.choice([0, 0, 2, 3])
    if kind == 0:
        params = '; name="%s"' % name, '; filename="%s"' % name
    elif kind == 1:
        word = encoded_word(rng, name, "utf-8")
        params = '; name="%s"' % word, '; filename="%s"' % word
    elif kind == 2:
        ext = "".join(chr(b) if b < 128 and (chr(b).isalnum() or chr(b) in "._-") else "%%%02X" % b
                      for b in name.encode())
        params = "", "; filename*=utf-8''%s" % ext
    else:
        half = len(name) // 2
        params = "", '; filename*0="%s";\r\n\tfilename*1="%s"' % (name[:half], name[half:]) if ascii_name else \
            "; filename*=utf-8''%s" % "".join("%%%02X" % b for b in name.encode())
    ctype = rng.choice(["application/octet-stream", "application/pdf", "image/png"])
    if rng.random() < 0.2:
        cte, body = "quoted-printable", quopri.encodestring(data).replace(b"\n", b"\r\n") + b"\r\n"
    else:
        cte, body = "base64", base64.encodebytes(data).replace(b"\n", b"\r\n")
    head = "Content-Type: %s%s\r\nContent-Transfer-Encoding: %s\r\nContent-Disposition: attachment%s\r\n\r\n" % (
        ctype, params[0], cte, params[1])
    return head.encode("utf-8") + body


def multipart(rng, subtype, parts, depth):
    boundary = "=_%s_%d_%d" % (subtype, depth, rng.randrange(10 ** 6))
    out = ('Content-Type: multipart/%s; boundary="%s"\r\n\r\n' % (subtype, boundary)).encode()
    if rng.random() < 0.3:
        out += b"This is a multi-part message in MIME format.\r\n"
    for p in parts:
        out += ("--%s\r\n" % boundary).encode() + p
    return out + ("--%s--\r\n" % boundary).encode()


def body(rng):
    kind = rng.randrange(6)
    alt = lambda: multipart(rng, "alternative", [text_body(rng, "plain"), text_body(rng, "html")], 2)
    if kind == 0:
        return text_body(rng, "plain")
    if kind == 1:
        return alt()
    if kind == 2:
        return multipart(rng, "mixed", [alt()] + [attachment(rng) for _ in range(rng.randint(1, 3))], 1)
    if kind == 3:
        return multipart(rng, "mixed", [text_body(rng, "plain")] + [attachment(rng) for _ in range(rng.randint(1, 2))], 1)
    if kind == 4:
        image = b"Content-Type: image/png\r\nContent-ID: <img1>\r\nContent-Transfer-Encoding: base64\r\n\r\niVBORw0KGgo=\r\n"
        related = multipart(rng, "related", [alt(), image], 2)
        return multipart(rng, "mixed", [related, attachment(rng)], 1)
    # No Content-Type: plain text by RFC 2045.
    return b"\r\n" + " ".join(rng.choice(ASCII_WORDS) for _ in range(30)).encode() + b"\r\n"


def message(rng, i):
    head = "From: %s\r\nTo: john@example.com\r\nSubject: %s\r\nDate: %s\r\nMessage-ID: <%d@example.com>\r\n" % (
        sender(rng, i), subject(rng), date(rng), i)
    b = body(rng)
    if not b.startswith(b"\r\n"):
        head += "MIME-Version: 1.0\r\n"
    msg = head.encode() + b
    if rng.random() < 0.15:
        msg = msg.replace(b"\r\n", b"\n")
    return msg


def hexs(b):
    return (b if isinstance(b, bytes) else b.encode("utf-8")).hex()


def expect(raw):
    msg = email.message_from_bytes(raw, policy=email.policy.default)
    lines = ["subject " + hexs(str(msg["Subject"]))]
    addr = msg["From"].addresses[0]
    lines.append("from_address " + hexs(addr.addr_spec))
    lines.append("from_name " + hexs(addr.display_name))
    d = email.utils.parsedate_to_datetime(str(msg["Date"])).astimezone(timezone.utc)
    lines.append("date " + hexs("%04d-%02d-%02d %02d:%02d:%02d" % (d.year, d.month, d.day, d.hour, d.minute, d.second)))
    part = msg.get_body(preferencelist=("plain",))
    if part is not None:
        lines.append("plain " + hexs(part.get_content().rstrip("\r\n")))
    for p in msg.walk():
        if p.get_content_disposition() == "attachment":
            lines.append("attachment %s %s" % (hexs(p.get_filename() or ""), hexs(p.get_payload(decode=True) or b"")))
    return "\n".join(lines) + "\n"


def main():
    out, count = sys.argv[1], int(sys.argv[2])
    os.makedirs(out, exist_ok=True)
    rng = random.Random(20261208)
    for i in range(count):
        raw = message(rng, i)
        with open(os.path.join(out, "%03d.eml" % i), "wb") as f:
            f.write(raw)
        with open(os.path.join(out, "%03d.expect" % i), "w") as f:
            f.write(expect(raw))
    with open(os.path.join(out, "stamp"), "w") as f:
        f.write("%d\n" % count)


if __name__ == "__main__":
    main()
