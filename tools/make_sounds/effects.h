// The game's sound effects, synthesised from sine partials, filtered noise and envelopes.
// Every function returns mono samples at kSampleRate, peak-normalised, starting and ending
// at silence so that a restart never clicks.
#pragma once

#include <vector>

std::vector<float> ReelStopThud();       // a reel lands: a short wooden thump, under 150 ms
std::vector<float> CountTick();          // one credit counted: a bright tick, under 75 ms
std::vector<float> WinFanfare();         // a win: a brass arpeggio and held chord, about 1.3 s
std::vector<float> Explosion();          // the bonus bomb: a noise burst with rumble and crackle
std::vector<float> StartUpJingle();      // start-up: rising bells into a chord
std::vector<float> BonusAnnouncement();  // the bonus game is coming: a bell trill and a hit
std::vector<float> DefaultSound();       // stands in for an effect file that can't be played
