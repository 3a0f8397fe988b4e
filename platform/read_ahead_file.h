// A file for SDL to read a recording from as it plays, on the audio thread.
#pragma once

#include <SDL_rwops.h>

#include <string>

// Opens the file at path for reading through SDL, or gives null with SDL's error set. Its size is
// taken once, as it is opened, and it is read in blocks of 64 KB: the FLAC decoder asks whether
// the stream has ended before each read, and asks little at a time, so a plain SDL file (C stdio
// with its 4 KB buffer) costs four to six system calls at each of its reads, the file's last
// block read again included, where this costs one every 64 KB. A read past a file cut short
// while it is open ends the stream there.
SDL_RWops* OpenReadAheadFile(const std::string& path);
