#pragma once
#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

namespace korvath::test {

// What a folder holds, name by name: a file's bytes, or what else stands
// there ("<folder>", "<pipe>"), so that a test can tell whether anything was
// touched. Hidden files count.
using FolderListing = std::map<std::string, std::string>;
FolderListing listFolder(const std::filesystem::path& dir);

// Empties dir and writes exactly the listing's files (plain files only).
void layOutFolder(const std::filesystem::path& dir, const FolderListing& files);

// Runs f on a thread of its own whose stack holds `bytes`, waits for it and
// throws what f threw.
void onSmallStack(size_t bytes, const std::function<void()>& f);

} // namespace korvath::test
