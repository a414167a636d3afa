#include "support/listed_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "support/driver.h"

const wchar_t* const kListingNames[4] = {L"+文件列全表.txt", L"+文件列表.txt", L"+目录列表.txt", L"+目录文件列表.txt"};

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    return folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
}

void PrepareListedFolder(const std::wstring& folder) {
    for (const std::wstring& name : FolderEntries(folder))
        if (name != L".windows-label") RemoveTree(JoinPath(folder, name));
    MakeFolders(JoinPath(folder, L"sub"));
    HANDLE file =
        CreateFileW(JoinPath(folder, L"sub\\inner.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
}

std::set<std::wstring> Entries(const std::wstring& folder) {
    auto names = FolderEntries(folder);
    std::set<std::wstring> entries(names.begin(), names.end());
    entries.erase(L".windows-label");
    return entries;
}

std::wstring ReadListing(const std::wstring& path) { return FromCodePage(ReadBytes(path), 936); }

void ExpectFourListings(const std::wstring& folder, const std::wstring& label) {
    std::wstring full = ReadListing(JoinPath(folder, label + kListingNames[0]));
    std::wstring plain = ReadListing(JoinPath(folder, label + kListingNames[1]));
    std::wstring tree = ReadListing(JoinPath(folder, label + kListingNames[2]));
    std::wstring treeWithFiles = ReadListing(JoinPath(folder, label + kListingNames[3]));
    EXPECT_NE(full.find(JoinPath(folder, L"sub\\inner.txt")), std::wstring::npos) << ToCodePage(full, CP_UTF8);
    EXPECT_NE(plain.find(L"sub"), std::wstring::npos) << ToCodePage(plain, CP_UTF8);
    EXPECT_NE(plain.find(L"Velmora.exe"), std::wstring::npos) << ToCodePage(plain, CP_UTF8);
    EXPECT_NE(tree.find(L"sub"), std::wstring::npos) << ToCodePage(tree, CP_UTF8);
    EXPECT_EQ(tree.find(L"inner.txt"), std::wstring::npos) << "folders only";
    EXPECT_NE(treeWithFiles.find(L"inner.txt"), std::wstring::npos) << ToCodePage(treeWithFiles, CP_UTF8);
}
