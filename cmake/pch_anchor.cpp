// The file that the tests' shared precompiled header is built with.
