#include "host/drive_label.h"

#include <windows.h>

namespace {

Text CurrentDirectory() {
    DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0) return Text();
    Text directory = Text::OfLength(needed);
    DWORD length = GetCurrentDirectoryW(needed + 1, directory.Data());
    if (length == 0 || length > needed) return Text();
    directory.Truncate(length);
    return directory;
}

}  // namespace

Text CurrentDriveLabel() {
    Text directory = CurrentDirectory();
    if (directory.Length() < 2 || directory.Get()[1] != L':') return Text();
    wchar_t drive = directory.Get()[0];
    if (drive >= L'a' && drive <= L'z') drive = static_cast<wchar_t>(drive - L'a' + L'A');
    const wchar_t root[] = {drive, L':', L'\\', 0};
    wchar_t label[MAX_PATH + 1];
    DWORD maximumComponentLength = 0, fileSystemFlags = 0;
    if (!GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, &maximumComponentLength, &fileSystemFlags, nullptr,
                               0))
        return Text();
    return Text::Copy(label);
}
