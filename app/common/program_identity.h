#pragma once
// Who this program is, given to the platform layers once at start-up: the
// settings key, the data folders, the title and the maker's facts.

// Sets the identity; the start procedure calls it before anything reads a
// setting, a folder or a caption, and so does every test that does.
void SetProgramIdentity();
