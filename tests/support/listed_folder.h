// A folder for the listing job to list, and checks of the four listings it leaves there.
#pragma once

#include <set>
#include <string>

extern const wchar_t* const kListingNames[4];  // each follows the volume label

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

// Empties the folder (a drive's root keeps its label file) and gives it one subfolder with one
// file, so that every listing has something to show.
void PrepareListedFolder(const std::wstring& folder);

// The folder's entries, without a drive root's label file.
std::set<std::wstring> Entries(const std::wstring& folder);

// The listings are written in the console code page, GBK here.
std::wstring ReadListing(const std::wstring& path);

// Each of the four listings exists and shows the folder's content as its kind of listing does.
void ExpectFourListings(const std::wstring& folder, const std::wstring& label);
