"""The release tool's signing keys: every form keys come in, read to the
same key and certificates, and every way a key can be named wrong, said
in its own words. Run with the system's python3 and scripts/ on the path."""
import datetime
import os
import tempfile
import unittest

from cryptography import x509
from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric import ec, rsa
from cryptography.hazmat.primitives.serialization import pkcs12

from release import keys
from release.tools import Failure

PEM, DER = serialization.Encoding.PEM, serialization.Encoding.DER
PKCS8, TRADITIONAL = serialization.PrivateFormat.PKCS8, serialization.PrivateFormat.TraditionalOpenSSL
PLAIN = serialization.NoEncryption()
PHRASE = b"pass phrase"
LOCKED = serialization.BestAvailableEncryption(PHRASE)


def certificate(key, name):
    subject = x509.Name([x509.NameAttribute(x509.oid.NameOID.COMMON_NAME, name)])
    now = datetime.datetime(2026, 1, 1)
    return (x509.CertificateBuilder().subject_name(subject).issuer_name(subject)
            .public_key(key.public_key()).serial_number(1)
            .not_valid_before(now).not_valid_after(now + datetime.timedelta(days=2))
            .sign(key, hashes.SHA256()))


class SigningKeys(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        cls.key = rsa.generate_private_key(65537, 2048)
        cls.cert = certificate(cls.key, "Ostrel test signer")
        ec_key = ec.generate_private_key(ec.SECP256R1())
        other = rsa.generate_private_key(65537, 2048)
        other_cert = certificate(other, "someone else")
        pem_key = cls.key.private_bytes(PEM, TRADITIONAL, PLAIN)
        pem_cert = cls.cert.public_bytes(PEM)
        pfx = pkcs12.serialize_key_and_certificates(b"x", cls.key, cls.cert, None, LOCKED)
        files = {
            "cert.pem": pem_cert,
            "cert.der": cls.cert.public_bytes(DER),
            "chain.pem": pem_cert + other_cert.public_bytes(PEM),
            "key.pem": pem_key,
            "key.der": cls.key.private_bytes(DER, PKCS8, PLAIN),
            "locked.pem": cls.key.private_bytes(PEM, PKCS8, LOCKED),
            "locked-traditional.pem": cls.key.private_bytes(PEM, TRADITIONAL, LOCKED),
            "locked.der": cls.key.private_bytes(DER, PKCS8, LOCKED),
            "bag.pem": b"Bag Attributes\n    localKeyID: 01 00 00 00\nKey Attributes: <No "
                       b"Attributes>\n" + cls.key.private_bytes(PEM, PKCS8, PLAIN),
            "notepad.pem": keys.UTF8_BOM + pem_key.replace(b"\n", b"\r\n"),
            "cert-then-key.pem": pem_cert + pem_key,
            "ec.pem": ec_key.private_bytes(PEM, PKCS8, PLAIN),
            "ec-cert.pem": certificate(ec_key, "EC signer").public_bytes(PEM),
            "other.pem": other.private_bytes(PEM, PKCS8, PLAIN),
            "locked.pfx": pfx,
            # The outer SEQUENCE of indefinite length, as BER allows.
            "ber.pfx": b"\x30\x80" + pfx[2 + (pfx[1] & 0x7F):] + b"\x00\x00",
            "open.pfx": pkcs12.serialize_key_and_certificates(b"x", cls.key, cls.cert,
                                                              [other_cert], PLAIN),
            "pass": PHRASE + b"\r\nnot this line\n",
            "wrong.pass": b"wrong\n",
            "junk": b"no key here\n",
        }
        cls.paths = {}
        for name, data in files.items():
            cls.paths[name] = os.path.join(cls.folder.name, name)
            with open(cls.paths[name], "wb") as f:
                f.write(data)

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def environ(self, **named):
        return {variable: self.paths.get(name, name) for variable, name in named.items()}

    def test_every_form_gives_the_key_and_its_certificates(self):
        signer = self.cert.public_bytes(PEM)
        cases = [
            (dict(SIGN_CERT="cert.pem", SIGN_KEY="key.pem"), 1),
            (dict(SIGN_CERT="cert.der", SIGN_KEY="key.der"), 1),
            (dict(SIGN_CERT="cert.pem", SIGN_KEY="locked.pem", SIGN_PASS_FILE="pass"), 1),
            (dict(SIGN_CERT="cert.pem", SIGN_KEY="locked-traditional.pem", SIGN_PASS_FILE="pass"), 1),
            (dict(SIGN_CERT="cert.der", SIGN_KEY="locked.der", SIGN_PASS_FILE="pass"), 1),
            (dict(SIGN_CERT="cert.pem", SIGN_KEY="bag.pem"), 1),
            (dict(SIGN_CERT="cert.pem", SIGN_KEY="notepad.pem"), 1),
            (dict(SIGN_CERT="cert-then-key.pem", SIGN_KEY="cert-then-key.pem"), 1),
            (dict(SIGN_CERT="chain.pem", SIGN_KEY="key.pem", SIGN_PASS_FILE="wrong.pass"), 2),
            (dict(SIGN_PFX="locked.pfx", SIGN_PASS_FILE="pass"), 1),
            (dict(SIGN_PFX="ber.pfx", SIGN_PASS_FILE="pass"), 1),
            (dict(SIGN_PFX="open.pfx"), 2),
        ]
        for named, count in cases:
            with self.subTest(**named):
                key = keys.signing_key(self.environ(**named))
                self.assertEqual(serialization.load_der_private_key(key.key, None)
                                 .private_numbers(), self.key.private_numbers())
                self.assertTrue(key.certificates.startswith(signer))
                self.assertEqual(key.certificates.count(b"-----BEGIN CERTIFICATE-----"), count)
        ec_signer = keys.signing_key(self.environ(SIGN_CERT="ec-cert.pem", SIGN_KEY="ec.pem"))
        self.assertIn(b"BEGIN CERTIFICATE", ec_signer.certificates)
        self.assertIsNone(keys.signing_key({}))

    def test_every_wrong_key_is_said_in_one_line(self):
        cases = [
            (dict(SIGN_CERT="cert.pem"), "SIGN_CERT and SIGN_KEY go together, and only SIGN_CERT"),
            (dict(SIGN_KEY="key.pem"), "SIGN_CERT and SIGN_KEY go together, and only SIGN_KEY"),
            (dict(SIGN_PFX="open.pfx", SIGN_KEY="key.pem"), "not SIGN_PFX with SIGN_KEY"),
            (dict(SIGN_PASS_FILE="pass"), "SIGN_PASS_FILE is set, but neither"),
            (dict(SIGN_CERT="missing.pem", SIGN_KEY="key.pem"),
             "SIGN_CERT names missing.pem, which cannot be read"),
            (dict(SIGN_CERT="cert.pem", SIGN_KEY="key.pem", SIGN_PASS_FILE="missing"),
             "SIGN_PASS_FILE names missing, which cannot be read"),
            (dict(SIGN_CERT="key.pem", SIGN_KEY="key.pem"), "key.pem, which is not a certificate"),
            (dict(SIGN_CERT="cert.pem", SIGN_KEY="cert.pem"), "which is a certificate, not a private key"),
            (dict(SIGN_CERT="cert.pem", SIGN_KEY="cert.der"), "which is a certificate, not a private key"),
            (dict(SIGN_CERT="cert.pem", SIGN_KEY="junk"), "junk, which is not a private key"),
            (dict(SIGN_CERT="cert.pem", SIGN_KEY="other.pem"), "other.pem, which is not the key of the certificate"),
            (dict(SIGN_CERT="cert.pem", SIGN_KEY="locked.der"), "locked.der, which is encrypted; set SIGN_PASS_FILE"),
            (dict(SIGN_CERT="cert.pem", SIGN_KEY="locked.pem", SIGN_PASS_FILE="wrong.pass"),
             "SIGN_PASS_FILE does not hold the pass phrase of .*locked.pem"),
            (dict(SIGN_PFX="locked.pfx"), "locked.pfx, which is encrypted; set SIGN_PASS_FILE"),
            (dict(SIGN_PFX="locked.pfx", SIGN_PASS_FILE="wrong.pass"), "does not hold the pass phrase"),
            (dict(SIGN_PFX="key.der"), "key.der, which is not a PKCS#12 file"),
        ]
        for named, said in cases:
            with self.subTest(**named):
                with self.assertRaisesRegex(Failure, said):
                    keys.signing_key(self.environ(**named))

    def test_pass_phrase_is_the_first_line_as_written(self):
        cases = [
            (b"secret\n", b"secret"),
            (b"secret\r\nsecond line\n", b"secret"),
            (keys.UTF8_BOM + b"secret\r\n", b"secret"),
            (b"  spaces belong to it \t\n", b"  spaces belong to it \t"),
            (b"no line end", b"no line end"),
            (b"\n", b""),
        ]
        for data, phrase in cases:
            self.assertEqual(keys.pass_phrase(data), phrase, data)

    def test_pass_phrase_from_a_pipe(self):
        read, write = os.pipe()
        os.write(write, PHRASE + b"\n")
        os.close(write)
        try:
            key = keys.signing_key(dict(self.environ(SIGN_CERT="cert.pem", SIGN_KEY="locked.pem"),
                                        SIGN_PASS_FILE="/dev/fd/%d" % read))
        finally:
            os.close(read)
        self.assertIsNotNone(key)


if __name__ == "__main__":
    unittest.main()
