"""The steps of make dist, one module each: naming the archive, running
tools under signals, reading the signing key, signing, and writing the
archive. scripts/make-dist.py calls them in order."""
