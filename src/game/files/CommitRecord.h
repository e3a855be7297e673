#pragma once
#include "game/files/SaveFiles.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace korvath {

// Saved sets, and the files of a scenario's folder, change as one through a
// commit record. A commit first writes
// each new file under a temporary name, then the record listing what it does
// ("put" a temporary in place of a file, "remove" a file), and only then
// renames and removes. Cut short before the record is whole, the old files
// stay; after it, the next look at the folder finishes the commit.
//
// The folder is shared with whatever else the player keeps there, so the
// game touches only what it can prove its own: its temporaries and records
// carry a name no other program uses (".korvath-" before the file's own
// name), a record starts with the game's signature, and it may name only the
// files its own name says: those of its sets, or a scenario's texts, maps and
// pictures. Anything else is left alone.

// A file to be written and what it is to hold.
struct FileToWrite {
    std::string path;
    std::vector<uint8_t> bytes;
};

// One commit, all in the folder of `record`: files written, files removed.
struct Commit {
    std::string record; // commitRecordName(), rotationRecordName() or scenarioRecordName()
    std::vector<FileToWrite> written;
    std::vector<std::string> removed;
};

// The three files of the saved set STEM (NAME_SCENARIO): STEM.Txt, .dat, .map.
std::array<std::string, 3> setFileNames(const std::string& stem);

// The record of the saved set with base name B for scenario S:
// FOLDER/.korvath-NAME_S.commit, which may name NAME_S.Txt, .dat and .map.
std::string commitRecordName(const std::string& base, const std::string& scenario);
// The record of a rotation of the sets B1 .. B3 (B's file name holds no "_"):
// FOLDER/.korvath-NAME_S.rotation, which may name the files of NAME1_S to NAME3_S.
std::string rotationRecordName(const std::string& base, const std::string& scenario);
constexpr int kRotationSets = 3;

// The record of a save of a scenario's folder: FOLDER/.korvath-scenario.commit,
// which may name the scenario's own files of that folder (texts, maps and
// pictures: plain names ending in .txt, .map or .bmp).
std::string scenarioRecordName(const std::string& folder);

// Where a file of a commit is written before its rename: .korvath-NAME.saving
// beside it.
std::string temporaryName(const std::string& path);

// Makes the commit, at most once per file operation. Throws DataError naming
// the file the player knows (never a temporary) and the system's reason;
// then nothing has changed. Does not look at the folder first: the caller
// does, so that what it read there counts (finishInterruptedSaves).
void commitAsWhole(const Commit& c, const SaveFiles& files = diskFiles());

// The look at a folder before a save, a load or a file dialog shows it:
// finishes the commits cut short after their record, removes the game's
// temporaries that no whole record names and the records cut short while
// being written. A record of the previous version (NAME_S.commit beside the
// set, naming exactly files of that set and ending in "end") is finished the
// way that version did. Never throws: a commit that cannot be finished now is
// left for the next look.
void finishInterruptedSaves(const std::string& folder, const SaveFiles& files = diskFiles());

} // namespace korvath
