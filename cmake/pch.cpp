// Carrier of the shared precompiled header.
