#!/usr/bin/env python3
"""Writes a corpus of varied messages and, beside each, what Python's email
package makes of it: the peer the message model is compared with.

usage: make_corpus.py OUTDIR [COUNT] [SEED]
For message NNNN: NNNN.eml (the bytes as a POP3 server would hand them over)
and NNNN.json (decoded subject, sender address and name, date as UTC seconds,
plain and HTML text, attachment names with the SHA-256 and size of their
decoded bytes) and "facts": what the message is made of, in the peer's terms
(its raw part headers, the part each text came from, the text read in the
ANSI page, how its Date was written), so that the test can state where the
message model reads it differently on purpose. The same seed always gives the
same corpus.
"""
import base64
import binascii
import codecs
import datetime
import email
import email.policy
import email.utils
import hashlib
import json
import os
import quopri
import random
import re
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
    ("utf-8", "Is it 50% = half? a_b"),
    ("koi8-r", "\u041f\u0440\u0438\u0432\u0435\u0442 \u043c\u0438\u0440"),
    ("windows-1251", "\u041e\u0442\u0447\u0451\u0442"),
]
# charsets the message model reads as such (every charset the system's
# converter knows, here the ones the corpus uses); any other is read in the ANSI page
MODEL_CHARSETS = {"utf-8", "utf8", "us-ascii", "ascii", "iso-8859-1", "iso8859-1", "latin1", "l1",
                  "iso-8859-15", "iso8859-15", "latin-9", "windows-1252", "koi8-r", "windows-1251"}
# a label no converter knows: its Latin-1 bytes are read in the ANSI page
UNKNOWN_LABEL = "x-unknown-8bit"
ACCENTS = [" caf\u00e9 na\u00efve", " \u043f\u0440\u0438\u0432\u0435\u0442 \u043c\u0438\u0440"]


def ansi_undefined(error):
    # the five bytes CP1252 leaves open read as the code points of the same value
    return chr(error.object[error.start]), error.start + 1


codecs.register_error("ansi_undefined", ansi_undefined)


def as_ansi(raw):
    return raw.decode("cp1252", "ansi_undefined")

NAMES = [("Alice Example", "alice@example.org"), ("Doe, John", "john.doe@example.com"),
         ("Ren\u00e9e M\u00fcller", "renee@example.de"), ("", "bare@example.net"),
         ("Bob O'Neil", "bob@example.co.uk"), ("M\u00fcller, Ren\u00e9e", "mueller@example.de"),
         ("carol@example.com", "carol@example.com")]
ZONES = ["+0000", "-0500", "+0100", "+0530", "-0800", "GMT", "UT", "EST", "PDT", "CDT", "MST",
         "+0000 (UTC)", "-0800 (PST)", "+0200 (CEST)", "(EST)", "-0000"]


def encoded_bytes(raw, charset, rng):
    label = charset.upper() if rng.random() < 0.2 else charset
    if rng.random() < 0.5:
        text = base64.b64encode(raw).decode()
        if rng.random() < 0.1:
            text = text.rstrip("=")  # some encoders leave the padding out
        return "=?%s?%s?%s?=" % (label, rng.choice("Bb"), text)
    q = "".join(chr(b) if (48 <= b <= 57 or 65 <= b <= 90 or 97 <= b <= 122) else
                ("_" if b == 32 else "=%02X" % b) for b in raw)
    return "=?%s?%s?%s?=" % (label, rng.choice("Qq"), q)


def encoded_word(text, charset, rng):
    return encoded_bytes(text.encode(charset), charset, rng)


def split_word(text, charset, rng):
    """Two adjacent encoded words, folded: the white space between them goes.
    Now and then a UTF-8 text is cut inside a character, as some mailers do
    (RFC 2047 6.2 says the bytes of adjacent words join before decoding)."""
    raw = text.encode(charset)
    cut = len(raw) // 2
    if not (charset == "utf-8" and rng.random() < 0.4):
        cut = len(text[:len(text) // 2].encode(charset))
    fold = rng.choice(["\r\n ", "\r\n\t", " "])
    return encoded_bytes(raw[:cut], charset, rng) + fold + encoded_bytes(raw[cut:], charset, rng)


def subject_header(rng):
    """Returns the Subject value and, when it names a charset the model does not
    know, the text its bytes make in the ANSI page."""
    charset, text = rng.choice(SUBJECT_TEXTS)
    style = rng.random()
    if charset not in MODEL_CHARSETS:
        prefix = rng.choice(["", "Re: "])
        return prefix + encoded_word(text, charset, rng), prefix + as_ansi(text.encode(charset))
    value = subject_in_known_charset(rng, charset, text, style)
    if any(0xDC80 <= ord(c) <= 0xDCFF for c in value):  # raw bytes that are not UTF-8
        return value, as_ansi(value.encode("ascii", "surrogateescape"))
    return value, None


def subject_in_known_charset(rng, charset, text, style):
    if charset == "us-ascii" and style < 0.3:
        return text
    if charset == "iso-8859-1" and style < 0.15:
        # raw Latin-1 bytes in the header, no encoded word (kept as surrogates until written)
        return text.encode(charset).decode("ascii", "surrogateescape")
    if charset == "us-ascii" and style < 0.45:
        # a long plain subject folded onto a second line
        return text + " for the " + rng.choice(WORDS) + "\r\n " + " ".join(rng.choice(WORDS) for _ in range(8))
    if charset == "utf-8" and style < 0.1:
        return text  # raw UTF-8 in the header (RFC 6532)
    if style < 0.3:
        return split_word(text, charset, rng)
    if style < 0.45:
        return rng.choice(["Re: ", "Fwd: ", "AW: "]) + encoded_word(text, charset, rng) + " (" + rng.choice(WORDS) + ")"
    if style < 0.55:
        return encoded_word(text + " file_name v2", charset, rng)  # an underscore of its own
    if style < 0.6:
        return "\r\n " + encoded_word(text, charset, rng)  # the whole value on a continuation line
    if style < 0.7:
        # a long subject in several words on several lines, each word whole characters
        long_text = (text + " ") * 4
        words = [long_text[i:i + 12] for i in range(0, len(long_text), 12)]
        return "\r\n ".join(encoded_word(w, charset, rng) for w in words)
    return encoded_word(text, charset, rng)


def from_header(rng):
    name, addr = rng.choice(NAMES)
    style = rng.random()
    if not name:
        return rng.choice([addr, "<%s>" % addr, "%s (%s)" % (addr, "Bare Comment"), "< %s >" % addr])
    if all(ord(c) < 128 for c in name):
        if style < 0.1 and "," not in name and "@" not in name:
            shown = "'%s'" % name  # apostrophes some mailers put around a name
        elif style < 0.2:
            shown = '"%s \\"the %s\\""' % (name, rng.choice(WORDS))  # quoted pairs
        else:
            shown = '"%s"' % name if ("," in name or "'" in name or "@" in name or style < 0.4) else name
    elif style < 0.3:
        shown = '"%s"' % encoded_word(name, "utf-8", rng)  # an encoded word inside quotes
    elif style < 0.4:
        shown = encoded_word(name, "iso-8859-1", rng)
    elif style < 0.5:
        shown = '"%s"' % name if "," in name else name  # raw UTF-8 (RFC 6532)
    else:
        shown = encoded_word(name, "utf-8", rng)
    return "%s%s<%s>" % (shown, rng.choice([" ", " ", "\r\n "]), addr)


def date_header(rng):
    """Returns the Date value, the two digits of its year when written so, and its zone."""
    t = rng.randint(-631152000, 2524608000)  # 1950 .. 2049, so two-digit years cover both centuries
    zone = rng.choice(ZONES)
    text = email.utils.formatdate(t, usegmt=True)  # "Tue, 01 Jan 2030 00:00:00 GMT"
    day, rest = text.split(", ", 1)
    parts = rest.split(" ")
    if rng.random() < 0.3:
        parts[0] = str(int(parts[0]))  # one-digit day
    if rng.random() < 0.1:
        parts[1] = parts[1].upper()
    two_digits = None
    if rng.random() < 0.2:
        two_digits = int(parts[2]) % 100
        parts[2] = "%02d" % two_digits
    if rng.random() < 0.1:
        parts[3] = parts[3][:5]  # no seconds
    stamp = " ".join(parts[:4]) + " " + zone
    if rng.random() < 0.2:
        return stamp, two_digits, zone
    return day + rng.choice([", ", ", ", ",  ", " "]) + stamp, two_digits, zone


def body_text(rng, lines, accent=ACCENTS[0]):
    out = []
    for _ in range(lines):
        line = " ".join(rng.choice(WORDS) for _ in range(rng.randint(3, 14)))
        if rng.random() < 0.1:
            line = "." + line  # dot-stuffed on the wire, plain here
        if rng.random() < 0.2:
            line += accent
        out.append(line)
    return "\r\n".join(out) + "\r\n"


def encode_text(text, rng):
    charset = rng.choice(["utf-8", "iso-8859-1", "windows-1252", "iso-8859-15", "UTF-8", "koi8-r", "windows-1251",
                          UNKNOWN_LABEL])
    try:
        raw = text.encode("iso-8859-1" if charset == UNKNOWN_LABEL else charset)
    except UnicodeEncodeError:
        charset = "utf-8"
        raw = text.encode(charset)
    cte = rng.choice(["quoted-printable", "base64", "8bit", "Quoted-Printable", "BASE64"])
    if cte.lower() == "quoted-printable":
        body = quopri.encodestring(raw.replace(b"\r\n", b"\n")).replace(b"\n", b"\r\n")
        if rng.random() < 0.2:
            body = re.sub(rb"=[0-9A-F]{2}", lambda m: m.group(0).lower(), body)  # lower-case hex digits
    elif cte.lower() == "base64":
        body = base64.encodebytes(raw).replace(b"\n", b"\r\n")
    else:
        body = raw
    return charset, cte, body


def text_part(subtype, text, rng):
    if rng.random() < 0.08 and all(ord(c) < 128 for c in text):
        # 7-bit text without a charset (us-ascii, RFC 2045)
        cte = rng.choice(["", "Content-Transfer-Encoding: 7bit\r\n"])
        return ("Content-Type: text/%s\r\n%s\r\n" % (subtype, cte)).encode() + text.encode()
    charset, cte, body = encode_text(text, rng)
    label = '"%s"' % charset if rng.random() < 0.3 else charset
    params = rng.choice(["", "", "; format=flowed"])
    ctype = "Content-Type: text/%s; charset=%s%s" % (subtype, label, params)
    if rng.random() < 0.1:
        ctype = ctype.upper()
    heads = [ctype, "Content-Transfer-Encoding: %s" % cte]
    if rng.random() < 0.3:
        heads.reverse()
    if rng.random() < 0.2:
        heads.append("Content-Disposition: inline")  # as some mailers mark their text parts
    return ("\r\n".join(heads) + "\r\n\r\n").encode() + body


def pct(name):
    return "".join(c if (c.isascii() and c.isalnum()) or c in ".-" else "".join("%%%02X" % b for b in c.encode()) for c in name)


def attachment_part(rng, index):
    data = rng.randbytes(rng.choice([0, 1, 2, 3, 57, rng.randint(0, 3000)]))
    plain_name = "file-%d.bin" % index
    cte = "base64"
    style = rng.randrange(15)
    extra = ""
    if style == 0:
        disp = 'attachment; filename="%s"' % plain_name
        ctype = "application/octet-stream"
    elif style == 1:
        disp = "attachment; filename*=utf-8''%s" % pct("r\u00e9sum\u00e9-%d.pdf" % index)
        ctype = "application/pdf"
    elif style == 2:
        disp = 'attachment; filename="%s"' % encoded_word("\u00fcbersicht-%d.txt" % index, "utf-8", rng)
        ctype = "application/octet-stream"
    elif style == 3:
        disp = None  # named by Content-Type only
        ctype = 'application/octet-stream; name="%s"' % plain_name
    elif style == 4:
        # RFC 2231 continuations, the first one with charset and language
        name = pct("\u00fcbersicht f\u00fcr %d.xlsx" % index)
        cut = rng.randint(1, len(name) - 1)
        while name[cut - 1] == "%" or (cut > 1 and name[cut - 2] == "%"):
            cut -= 1
        disp = "attachment;\r\n filename*0*=utf-8'de'%s;\r\n filename*1*=%s" % (name[:cut], name[cut:])
        if rng.random() < 0.4:  # plain continuations, quoted
            disp = 'attachment;\r\n filename*0="quarterly figures ";\r\n filename*1="for %d.xlsx"' % index
        ctype = "application/vnd.ms-excel"
    elif style == 5:
        # an inline image referred to by Content-ID
        ctype = 'image/png; name="logo-%d.png"' % index
        disp = rng.choice(['inline; filename="logo-%d.png"' % index, None])
        extra = "Content-ID: <logo%d@corpus.example>\r\n" % index
    elif style == 6:
        # name= and filename= disagree
        ctype = 'application/octet-stream; name="type-%d.dat"' % index
        disp = 'attachment; filename="disposition-%d.dat"' % index
    elif style == 7:
        # an unquoted file name, sometimes with a parameter after it
        disp = "attachment; filename=%s%s" % (plain_name, rng.choice(["", "; size=%d" % len(data)]))
        ctype = "application/octet-stream"
    elif style == 8:
        # a text attachment, quoted-printable or plain 8-bit
        data = ("notes %d \u00e9t\u00e9\r\nsecond line\r\n" % index).encode("utf-8")
        cte = rng.choice(["quoted-printable", "8bit"])
        ctype = "text/plain; charset=utf-8"
        disp = 'attachment; filename="notes-%d.txt"' % index
    elif style == 9:
        # Content-Type name= as an encoded word, disposition without a name
        ctype = 'application/pdf; name="%s"' % encoded_word("r\u00e9sum\u00e9-%d.pdf" % index, "iso-8859-1", rng)
        if rng.random() < 0.5:  # a long name in two words, folded inside the quotes
            ctype = 'application/pdf;\r\n name="%s\r\n %s"' % (
                encoded_word("Jahres\u00fcbersicht ", "utf-8", rng), encoded_word("f\u00fcr %d.pdf" % index, "utf-8", rng))
        disp = "ATTACHMENT"
    elif style == 10:
        # an inline part with a Content-ID and no name at all
        ctype = "image/gif"
        disp = None
        extra = "Content-ID: <anon%d@corpus.example>\r\n" % index
    elif style == 11:
        cte = "x-uuencode"
        ctype = 'application/octet-stream; name="old-%d.zip"' % index
        disp = 'attachment; filename="old-%d.zip"' % index
    elif style == 12:
        # as one widespread client writes it
        ctype = 'image/jpeg; name="image%03d.jpg"' % index
        disp = ('inline; filename="image%03d.jpg"; size=%d;\r\n\tcreation-date="Tue, 05 Mar 2024 09:05:07 GMT"'
                % (index, len(data)))
        extra = "Content-Description: image%03d.jpg\r\nContent-ID: <image%03d.jpg@01DA6E>\r\n" % (index, index)
    elif style == 13:
        ctype = "application/zip"
        disp = 'attachment; filename = "spaced-%d.zip"' % index
        if rng.random() < 0.5:  # the name in the type's RFC 2231 form instead
            ctype = "application/zip; name*=utf-8''%s" % pct("\u00e4rger-%d.zip" % index)
            disp = "attachment"
    else:
        # raw bytes, NULs included, under a transfer encoding that leaves them as they are
        data = data.replace(b"\r", b"").replace(b"\n", b"")
        cte = rng.choice(["8bit", "binary"])
        ctype = "application/octet-stream"
        disp = 'attachment; filename="raw-%d.bin"' % index
    if cte == "base64":
        body = base64.encodebytes(data).replace(b"\n", b"\r\n")
    elif cte == "quoted-printable":
        body = quopri.encodestring(data.replace(b"\r\n", b"\n")).replace(b"\n", b"\r\n")
    elif cte == "x-uuencode":
        lines = [binascii.b2a_uu(data[i:i + 45], backtick=rng.random() < 0.5) for i in range(0, len(data), 45)]
        body = (b"begin 644 old-%d.zip\n" % index + b"".join(lines) + b"`\nend\n").replace(b"\n", b"\r\n")
    else:
        body = data
    head = "Content-Type: %s\r\nContent-Transfer-Encoding: %s\r\n" % (ctype, cte) + extra
    if disp:
        head += "Content-Disposition: %s\r\n" % disp
    return head.encode("utf-8") + b"\r\n" + body


def multipart(subtype, parts, rng):
    boundary = rng.choice(["=_b%08x", "----=_NextPart_%08x", "b%x", "b o u n d %x"]) % rng.getrandbits(32)
    quoted = '"%s"' % boundary if ("=" in boundary or " " in boundary or rng.random() < 0.5) else boundary
    params = ""
    if subtype == "related" and rng.random() < 0.5:
        params = rng.choice(['; type="text/html"', '; type="multipart/alternative"; start="<p1>"'])
    out = b"Content-Type: multipart/%s%s;%sboundary=%s\r\n\r\n" % (
        subtype.encode(), params.encode(), rng.choice([b" ", b"\r\n\t"]), quoted.encode())
    if rng.random() < 0.3:
        out += b"This is a multi-part message in MIME format.\r\n"
    padding = b"  " if rng.random() < 0.1 else b""  # transport padding after delimiters (RFC 2046)
    for p in parts:
        out += b"\r\n--" + boundary.encode() + padding + b"\r\n" + p
    out += b"\r\n--" + boundary.encode() + b"--" + padding + b"\r\n"
    if rng.random() < 0.2:
        out += b"epilogue text\r\n"
    return out


def message(rng, n):
    """Returns the message bytes and the generator's own facts about them."""
    date, two_digits, zone = date_header(rng)
    subject, subject_as_ansi = subject_header(rng)
    heads = [rng.choice(["From: ", "From: ", "from: "]) + from_header(rng), "To: box@example.org",
             rng.choice(["Subject: ", "Subject: ", "SUBJECT: ", "Subject:"]) + subject,
             "Date: " + date, "Message-ID: <%d@corpus.example>" % n, "MIME-Version: 1.0"]
    if rng.random() < 0.03:
        heads = [h for h in heads if not h.startswith("Date: ")]
        two_digits, zone = None, None
    elif rng.random() < 0.05:
        heads = [h.replace(", ", ",\r\n ", 1) if h.startswith("Date: ") else h for h in heads]  # folded
    if rng.random() < 0.05:
        heads.append("References: " + "\r\n ".join("<%d.%d@corpus.example>" % (n, i) for i in range(400)))
    if rng.random() < 0.02:
        heads.append("X-Long: " + "x" * 20000)  # longer than any line should be
    plain = body_text(rng, rng.randint(1, 30), rng.choice(ACCENTS))
    html = "<html><body><p>" + plain.replace("\r\n", "</p>\r\n<p>") + "</p></body></html>\r\n"
    shape = rng.randrange(14)
    if shape == 0:  # no Content-Type at all: text/plain us-ascii
        heads.remove("MIME-Version: 1.0")
        body = body_text(rng, rng.randint(1, 10)).replace("\u00e9", "e").replace("\u00ef", "i").encode()
        if rng.random() < 0.2:
            body = b""  # a subject-only message
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
    elif shape == 6:
        entity = multipart("mixed", [text_part("plain", plain, rng), attachment_part(rng, 0)], rng)
    elif shape == 7:  # mixed > related > alternative, as HTML mail with pictures and files is sent
        alt = multipart("alternative", [text_part("plain", plain, rng), text_part("html", html, rng)], rng)
        rel = multipart("related", [alt, attachment_part(rng, 5)], rng)
        entity = multipart("mixed", [rel] + [attachment_part(rng, i) for i in range(rng.randint(1, 2))], rng)
    elif shape == 8:  # HTML only
        entity = text_part("html", html, rng)
    elif shape == 9:  # several files and no text
        entity = multipart("mixed", [attachment_part(rng, i) for i in range(rng.randint(1, 4))], rng)
    elif shape == 10:  # the message is the file, as scanners send it
        entity = attachment_part(rng, 0)
    elif shape == 11:  # signed: the text, then the signature as a file
        signature = base64.encodebytes(rng.randbytes(rng.randint(300, 900))).replace(b"\n", b"\r\n")
        sig = (b'Content-Type: application/pkcs7-signature; name="smime.p7s"\r\nContent-Transfer-Encoding: base64\r\n'
               b'Content-Disposition: attachment; filename="smime.p7s"\r\n\r\n' + signature)
        entity = multipart("signed", [text_part("plain", plain, rng), sig], rng)
    elif shape == 12:  # a delivery report
        status = (b"Content-Type: message/delivery-status\r\n\r\nReporting-MTA: dns; mx.example.org\r\n\r\n"
                  b"Final-Recipient: rfc822; gone@example.org\r\nAction: failed\r\nStatus: 5.1.1\r\n")
        headers = b"Content-Type: text/rfc822-headers\r\n\r\nFrom: box@example.org\r\nSubject: hello\r\n"
        entity = multipart("report", [text_part("plain", plain, rng), status, headers], rng)
    else:  # a forwarded structure: mixed inside mixed, the alternative in either order
        pair = [text_part("plain", plain, rng), text_part("html", html, rng)]
        if rng.random() < 0.5:
            pair.reverse()
        inner = multipart("mixed", [multipart("alternative", pair, rng), attachment_part(rng, 3)], rng)
        entity = multipart("mixed", [inner, attachment_part(rng, 4)], rng)
    data = ("\r\n".join(heads) + "\r\n").encode("utf-8", "surrogateescape") + entity
    if rng.random() < 0.15:
        data = data.replace(b"\r\n", b"\n")  # a server that stores bare LF
    return data, {"date_two_digit_year": two_digits, "date_zone": zone, "subject_as_ansi": subject_as_ansi}


def from_raw_bytes(text):
    """The peer keeps raw 8-bit header bytes as surrogates; they are read as UTF-8 here."""
    return text.encode("utf-8", "surrogateescape").decode("utf-8", "replace")


def source_text(value):
    """A header as it stands in the message; 8-bit bytes (kept as surrogates) read as UTF-8."""
    return str(value).encode("ascii", "surrogateescape").decode("utf-8", "replace")


def part_facts(part):
    """What the peer sees of one leaf part: its raw headers, names and decoded bytes."""
    payload = part.get_payload(decode=True) or b""

    def param(name, header):
        value = part.get_param(name, None, header)
        return None if value is None else email.utils.collapse_rfc2231_value(value)
    return {"headers": [[k, source_text(v)] for k, v in part.raw_items()],
            "ct_name": param("name", "content-type"), "cd_filename": param("filename", "content-disposition"),
            "size": len(payload), "sha256": hashlib.sha256(payload).hexdigest()}


def expectations(data, made_of):
    msg = email.message_from_bytes(data, policy=email.policy.default)
    sender = msg["from"].addresses[0] if msg["from"] and msg["from"].addresses else None
    date = msg["date"].datetime if msg["date"] else None
    if date is not None and date.tzinfo is None:
        date = date.replace(tzinfo=datetime.timezone.utc)  # "-0000": UTC, origin unknown

    bodies = {kind: msg.get_body(preferencelist=(kind,)) for kind in ("plain", "html")}
    attachments = []
    for part in msg.walk():
        name = part.get_filename()
        if name is None or part.is_multipart():
            continue
        payload = part.get_payload(decode=True) or b""
        attachments.append({"name": name, "size": len(payload), "sha256": hashlib.sha256(payload).hexdigest()})

    def peer_text(part):
        if part is None:
            return ""
        try:
            return part.get_content()
        except LookupError:  # a charset the peer does not know either
            return part.get_payload(decode=True).decode("iso-8859-1")

    def text_facts(part):
        if part is None:
            return None
        return {"cte": str(part.get("content-transfer-encoding", "")).strip().lower(),
                "in_multipart": part is not msg,
                "charset": str(part.get_param("charset", "us-ascii")).lower(),
                "as_ansi": as_ansi(part.get_payload(decode=True) or b"")}
    facts = {
        "line_end": "\n" if b"\r\n" not in data else "\r\n",
        "from_source": source_text(next((v for k, v in msg.raw_items() if k.lower() == "from"), "")),
        "date_two_digit_year": made_of["date_two_digit_year"],
        "date_zone": made_of["date_zone"],
        "subject_as_ansi": made_of["subject_as_ansi"],
        "plain_part": text_facts(bodies["plain"]),
        "html_part": text_facts(bodies["html"]),
        "parts": [part_facts(p) for p in msg.walk() if not p.is_multipart()],
    }
    return {
        "subject": from_raw_bytes(str(msg["subject"] or "")),
        "from_address": sender.addr_spec if sender else "",
        "from_name": from_raw_bytes(sender.display_name) if sender else "",
        "date_utc": int(date.timestamp()) if date else None,
        "plain": peer_text(bodies["plain"]),
        "html": peer_text(bodies["html"]),
        "attachments": attachments,
        "facts": facts,
    }


def main():
    out = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 600
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 20261208)
    os.makedirs(out, exist_ok=True)
    for n in range(count):
        data, made_of = message(rng, n)
        with open(os.path.join(out, "%04d.eml" % n), "wb") as f:
            f.write(data)
        with open(os.path.join(out, "%04d.json" % n), "w") as f:
            json.dump(expectations(data, made_of), f, ensure_ascii=True, indent=1)


if __name__ == "__main__":
    main()
