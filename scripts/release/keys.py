"""The key to sign with, read and checked here, once: a certificate and
its private key, each PEM or DER, or a PKCS#12 file holding both. The key
is decrypted in this process, so that the signing tool never needs a
pass phrase."""
import os
import re

from cryptography import x509
from cryptography.hazmat.primitives import serialization
from cryptography.hazmat.primitives.serialization import pkcs12

from .tools import STOP, Failure

# A certificate's PEM block, whatever stands around it: the bag attributes
# of one taken out of a PKCS#12 file, a byte-order mark, the rest of a chain.
PEM_CERTIFICATE = re.compile(rb"-----BEGIN CERTIFICATE-----\r?\n.*?-----END CERTIFICATE-----",
                             re.S)
UTF8_BOM = b"\xef\xbb\xbf"


class SigningKey:
    """The key as the signing tool takes it, unencrypted PKCS#8 DER, and
    the certificates in PEM, the signer's first."""

    def __init__(self, key, certificates):
        key_certificate = certificates[0]
        if public_key_bytes(key) != public_key_bytes(key_certificate):
            raise ValueError("the key is not the certificate's")
        self.key = key.private_bytes(serialization.Encoding.DER,
                                     serialization.PrivateFormat.PKCS8,
                                     serialization.NoEncryption())
        self.certificates = b"".join(c.public_bytes(serialization.Encoding.PEM)
                                     for c in certificates)


def public_key_bytes(holder):
    return holder.public_key().public_bytes(serialization.Encoding.DER,
                                            serialization.PublicFormat.SubjectPublicKeyInfo)


def readable(variable, path):
    """A file's bytes, read once: a pipe, such as bash's <(...), reads only once,
    and one whose writer never writes holds the run until a signal ends it."""
    try:
        with STOP.waiting_for_input(), open(path, "rb") as f:
            return f.read()
    except OSError as error:
        raise Failure("%s names %s, which cannot be read (%s)"
                      % (variable, path, error.strerror)) from None


def pass_phrase(data):
    """The first line of a pass file, without its line end (LF or CR LF) or
    the byte-order mark Notepad writes: spaces belong to the phrase."""
    if data.startswith(UTF8_BOM):
        data = data[len(UTF8_BOM):]
    line = data.split(b"\n", 1)[0]
    return line[:-1] if line.endswith(b"\r") and b"\n" in data else line


def certificates(variable, path, data):
    """The certificates of a PEM file, in its order, or the one of a DER file."""
    try:
        if b"-----BEGIN" in data:
            found = [x509.load_pem_x509_certificate(block)
                     for block in PEM_CERTIFICATE.findall(data)]
        else:
            found = [x509.load_der_x509_certificate(data)]
    except ValueError:
        found = []
    if not found:
        raise Failure("%s names %s, which is not a certificate" % (variable, path))
    return found


def private_key(variable, path, data, phrase):
    """The private key of a PEM or DER file, decrypted by phrase where it
    is encrypted."""
    load = (serialization.load_pem_private_key if b"-----BEGIN" in data
            else serialization.load_der_private_key)
    try:
        plain = load(data, None)
    except TypeError:  # encrypted
        plain = None
    except Exception:  # no key, or none of an algorithm this library reads
        what = "a certificate, not a private key" if is_certificate(data) else "not a private key"
        raise Failure("%s names %s, which is %s" % (variable, path, what)) from None
    if plain is not None and not encrypted_with_empty_phrase(load, data):
        return plain
    if phrase is None:
        raise Failure("%s names %s, which is encrypted; set SIGN_PASS_FILE to a file whose first "
                      "line is its pass phrase" % (variable, path))
    try:
        return load(data, phrase)
    except (TypeError, ValueError):
        raise Failure("SIGN_PASS_FILE does not hold the pass phrase of %s" % path) from None


def encrypted_with_empty_phrase(load, data):
    """Whether a key that opened without a pass phrase is encrypted after
    all, with the empty one, as some library versions allow: it then needs
    its pass file, as it does on every other version. A plain key refuses
    any pass phrase; an encrypted one takes a wrong one as wrong."""
    try:
        load(data, b"\x01")
    except TypeError:
        return False
    except ValueError:
        return True
    return True


def is_certificate(data):
    try:
        certificates("", "", data)
        return True
    except Failure:
        return False


def looks_like_pkcs12(data):
    """A PKCS#12 file begins with a SEQUENCE, of a definite length or not,
    whose first item is its version, the INTEGER 3."""
    if len(data) < 5 or data[0] != 0x30:
        return False
    at = 2 + (data[1] & 0x7F if data[1] > 0x80 else 0)
    return data[at:at + 3] == b"\x02\x01\x03"


def pkcs12_contents(path, data, phrase):
    """The key and certificates of a PKCS#12 file. One that opens without a
    pass phrase, or with the empty one, needs no pass file."""
    if not looks_like_pkcs12(data):
        raise Failure("SIGN_PFX names %s, which is not a PKCS#12 file" % path)
    for attempt in (None, phrase) if phrase is not None else (None,):
        try:
            key, certificate, chain = pkcs12.load_key_and_certificates(data, attempt)
            break
        except ValueError:
            continue
    else:
        if phrase is None:
            raise Failure("SIGN_PFX names %s, which is encrypted; set SIGN_PASS_FILE to a file "
                          "whose first line is its pass phrase" % path)
        raise Failure("SIGN_PASS_FILE does not hold the pass phrase of %s" % path)
    if key is None or certificate is None:
        raise Failure("SIGN_PFX names %s, which does not hold both a key and its certificate"
                      % path)
    return key, [certificate] + list(chain)


def signing_key(environ=os.environ):
    """The key that SIGN_CERT and SIGN_KEY, or SIGN_PFX, name, checked:
    readable, opened by the pass phrase in SIGN_PASS_FILE where it needs
    one, and the certificate's; None when nothing names one."""
    cert, key, pfx = (environ.get(v) for v in ("SIGN_CERT", "SIGN_KEY", "SIGN_PFX"))
    phrase_file = environ.get("SIGN_PASS_FILE")
    if pfx and (cert or key):
        raise Failure("SIGN_PFX, or SIGN_CERT and SIGN_KEY, name the key: not SIGN_PFX with %s"
                      % " and ".join(v for v, x in (("SIGN_CERT", cert), ("SIGN_KEY", key)) if x))
    if not (cert or key or pfx):
        if phrase_file:
            raise Failure("SIGN_PASS_FILE is set, but neither SIGN_PFX nor SIGN_CERT and SIGN_KEY "
                          "name anything to sign with")
        return None
    if not pfx and not (cert and key):
        raise Failure("SIGN_CERT and SIGN_KEY go together, and only %s is set"
                      % ("SIGN_CERT" if cert else "SIGN_KEY"))
    phrase = pass_phrase(readable("SIGN_PASS_FILE", phrase_file)) if phrase_file else None
    if pfx:
        private, chain = pkcs12_contents(pfx, readable("SIGN_PFX", pfx), phrase)
    else:
        chain = certificates("SIGN_CERT", cert, readable("SIGN_CERT", cert))
        private = private_key("SIGN_KEY", key, readable("SIGN_KEY", key), phrase)
    try:
        return SigningKey(private, chain)
    except ValueError:
        raise Failure("%s names %s, which is not the key of the certificate in %s"
                      % (("SIGN_PFX", pfx, pfx) if pfx else ("SIGN_KEY", key, cert))) from None
