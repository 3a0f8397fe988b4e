// The background music: six original tunes, composed from a few rules of popular song writing
// (a song form of intro, verses, choruses, a bridge and an ending; chord progressions in a key;
// melodies built from repeated rhythm motifs whose strong beats land on chord tones and whose
// phrases end on the tonic; a bass line and a drum groove per style).
#pragma once

#include <string>

#include "tools/make_sounds/audio_file.h"

constexpr int kSongCount = 6;

struct SongFacts {
  std::string title;
  double bpm;
  int bars;
};

// Composes song n (0 .. kSongCount-1) into `song` and returns its facts.
SongFacts ComposeSong(int n, MidiSong& song);
