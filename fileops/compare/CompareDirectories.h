// The directory compare: the left and right panels' files paired by name and
// tagged by the conditions of the options dialog (newer, older or different
// date; larger, smaller or different size; different contents; no partner).
// CompareDirectories itself is declared with the other file commands.
#pragma once

#include <vector>

// The options dialog over the "CMP" settings: -1 for Esc, 0 for OK (with a
// mask that parses).
int CompareDirectoriesDialog();

// Pairs each left name with a right name: an exact partner first, then one
// that differs only in case and has no exact partner of its own, so that Src
// and src on one side never both take the other side's src. partner[i] is the
// right index of left name i, or -1.
void PairNames(const std::vector<const char32_t*>& left, const std::vector<const char32_t*>& right,
               std::vector<int>& partner);
