// Reads the resources back out of the built Velmora.exe the way Windows does, so a broken
// .rc, icon or manifest shows up here rather than as a blank icon or unthemed window.
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <cstring>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#ifndef VELMORA_EXE_PATH
#error "VELMORA_EXE_PATH must be defined as a wide string literal naming the built Velmora.exe"
#endif

namespace {

constexpr WORD kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
constexpr WORD kChineseSimplified = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

constexpr int kIconSide = 48;
constexpr DWORD kIconImageBytes = 3752;  // header 40 + palette 1024 + pixels 2304 + mask 384
constexpr DWORD kPaletteBytes = 256 * 4;
constexpr DWORD kPixelBytes = kIconSide * kIconSide;
constexpr DWORD kMaskStride = ((kIconSide + 31) / 32) * 4;

#pragma pack(push, 2)
struct GroupIconHeader {
    WORD idReserved;
    WORD idType;
    WORD idCount;
};
struct GroupIconEntry {
    BYTE bWidth;
    BYTE bHeight;
    BYTE bColorCount;
    BYTE bReserved;
    WORD wPlanes;
    WORD wBitCount;
    DWORD dwBytesInRes;
    WORD nId;
};
#pragma pack(pop)
static_assert(sizeof(GroupIconEntry) == 14, "group icon entries are packed to 14 bytes");

using Bytes = std::vector<unsigned char>;

HMODULE g_exe = nullptr;

std::wstring ExePath() {
    // Wine accepts either separator, Windows prefers backslashes.
    std::wstring path = VELMORA_EXE_PATH;
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    return path;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) {
    reinterpret_cast<std::vector<WORD>*>(param)->push_back(language);
    return TRUE;
}

// FindResourceEx quietly falls back to other languages, so enumerate to see the exact ones.
std::vector<WORD> Languages(LPCWSTR type, LPCWSTR name) {
    std::vector<WORD> languages;
    EnumResourceLanguagesW(g_exe, type, name, CollectLanguage, reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    auto* names = reinterpret_cast<std::vector<std::wstring>*>(param);
    if (IS_INTRESOURCE(name)) {
        names->push_back(L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name)));
    } else {
        names->push_back(name);
    }
    return TRUE;
}

std::vector<std::wstring> Names(LPCWSTR type) {
    std::vector<std::wstring> names;
    EnumResourceNamesW(g_exe, type, CollectName, reinterpret_cast<LONG_PTR>(&names));
    return names;
}

// Empty when the resource is missing in that language.
Bytes Load(LPCWSTR type, LPCWSTR name, WORD language) {
    HRSRC found = FindResourceExW(g_exe, type, name, language);
    if (!found) return {};
    DWORD size = SizeofResource(g_exe, found);
    HGLOBAL handle = LoadResource(g_exe, found);
    const void* data = handle ? LockResource(handle) : nullptr;
    if (!data || size == 0) return {};
    const auto* first = static_cast<const unsigned char*>(data);
    return Bytes(first, first + size);
}

class ResourcesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        g_exe = LoadLibraryExW(ExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    }
    static void TearDownTestSuite() {
        if (g_exe) FreeLibrary(g_exe);
        g_exe = nullptr;
    }
    void SetUp() override { ASSERT_NE(g_exe, nullptr) << "cannot load the program as data, error " << GetLastError(); }
};

// ---------------------------------------------------------------------------------------------
// Icon

TEST_F(ResourcesTest, IconGroupHoldsOne48PixelImageWith256Colours) {
    const LPCWSTR group_name = L"DEFAULT_ICON";
    EXPECT_EQ(Languages(RT_GROUP_ICON, group_name), std::vector<WORD>{kNeutral});

    Bytes group = Load(RT_GROUP_ICON, group_name, kNeutral);
    ASSERT_GE(group.size(), sizeof(GroupIconHeader));
    GroupIconHeader header;
    std::memcpy(&header, group.data(), sizeof header);
    EXPECT_EQ(header.idReserved, 0);
    EXPECT_EQ(header.idType, 1);  // icon, not cursor
    ASSERT_EQ(header.idCount, 1);
    ASSERT_EQ(group.size(), sizeof(GroupIconHeader) + sizeof(GroupIconEntry));

    GroupIconEntry entry;
    std::memcpy(&entry, group.data() + sizeof header, sizeof entry);
    EXPECT_EQ(entry.bWidth, kIconSide);
    EXPECT_EQ(entry.bHeight, kIconSide);
    // 256 colours do not fit in a byte, so the count is 0. Some resource compilers leave
    // wBitCount 0 too; the image header below pins the depth to 8 either way.
    EXPECT_EQ(entry.bColorCount, 0);
    EXPECT_TRUE(entry.wBitCount == 8 || entry.wBitCount == 0) << "wBitCount " << entry.wBitCount;
    EXPECT_EQ(entry.dwBytesInRes, kIconImageBytes);

    // Windows picks the image through the directory; it must resolve to our only entry.
    EXPECT_EQ(LookupIconIdFromDirectoryEx(group.data(), TRUE, kIconSide, kIconSide, LR_DEFAULTCOLOR), entry.nId);

    const LPCWSTR image_name = MAKEINTRESOURCEW(entry.nId);
    EXPECT_EQ(Languages(RT_ICON, image_name), std::vector<WORD>{kNeutral});
    Bytes image = Load(RT_ICON, image_name, kNeutral);
    ASSERT_EQ(image.size(), kIconImageBytes);

    BITMAPINFOHEADER info;
    std::memcpy(&info, image.data(), sizeof info);
    EXPECT_EQ(info.biSize, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(info.biWidth, kIconSide);
    EXPECT_EQ(info.biHeight, kIconSide * 2);  // colour rows followed by the mask rows
    EXPECT_EQ(info.biPlanes, 1);
    EXPECT_EQ(info.biBitCount, 8);
    EXPECT_EQ(info.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_TRUE(info.biClrUsed == 0 || info.biClrUsed == 256) << "biClrUsed " << info.biClrUsed;
    EXPECT_EQ(sizeof info + kPaletteBytes + kPixelBytes + kMaskStride * kIconSide, image.size());

    HICON icon = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE, 0x00030000, kIconSide,
                                          kIconSide, LR_DEFAULTCOLOR);
    EXPECT_NE(icon, nullptr) << "Windows rejects the icon image, error " << GetLastError();
    if (icon) DestroyIcon(icon);
}

// Pixel (x, y) counted from the top-left, as the icon is seen.
struct IconPixel {
    int x;
    int y;
    bool transparent;
};

void PrintTo(const IconPixel& p, std::ostream* os) {
    *os << "(" << p.x << ", " << p.y << ")" << (p.transparent ? " transparent" : " opaque");
}

std::string PixelName(const ::testing::TestParamInfo<IconPixel>& info) {
    return "x" + std::to_string(info.param.x) + "y" + std::to_string(info.param.y);
}

class IconTransparencyTest : public ResourcesTest, public ::testing::WithParamInterface<IconPixel> {};

TEST_P(IconTransparencyTest, MaskCutsOutTheBackground) {
    const IconPixel pixel = GetParam();
    Bytes group = Load(RT_GROUP_ICON, L"DEFAULT_ICON", kNeutral);
    ASSERT_EQ(group.size(), sizeof(GroupIconHeader) + sizeof(GroupIconEntry));
    GroupIconEntry entry;
    std::memcpy(&entry, group.data() + sizeof(GroupIconHeader), sizeof entry);
    Bytes image = Load(RT_ICON, MAKEINTRESOURCEW(entry.nId), kNeutral);
    ASSERT_EQ(image.size(), kIconImageBytes);

    const int row = kIconSide - 1 - pixel.y;  // DIB rows run bottom-up
    const size_t pixels = sizeof(BITMAPINFOHEADER) + kPaletteBytes;
    const size_t mask = pixels + kPixelBytes;
    const unsigned char mask_byte = image[mask + row * kMaskStride + pixel.x / 8];
    const bool masked = (mask_byte & (0x80 >> (pixel.x % 8))) != 0;
    EXPECT_EQ(masked, pixel.transparent);

    if (pixel.transparent) {
        // The screen is ANDed with the mask, then XORed with the colour: see-through needs black.
        const unsigned index = image[pixels + row * kIconSide + pixel.x];
        const unsigned char* bgr = image.data() + sizeof(BITMAPINFOHEADER) + index * 4;
        EXPECT_EQ(bgr[0] | bgr[1] | bgr[2], 0) << "palette index " << index;
    }
}

INSTANTIATE_TEST_SUITE_P(Corners, IconTransparencyTest,
                         ::testing::Values(IconPixel{0, 0, true}, IconPixel{47, 0, true}, IconPixel{0, 47, true},
                                           IconPixel{47, 47, true}),
                         PixelName);
INSTANTIATE_TEST_SUITE_P(Body, IconTransparencyTest,
                         ::testing::Values(IconPixel{24, 32, false}, IconPixel{24, 10, false}), PixelName);

// ---------------------------------------------------------------------------------------------
// Manifest

using Attributes = std::map<std::string, std::string>;

struct Element {
    size_t offset;
    Attributes attributes;
};

// Enough XML for a manifest: finds every <tag ...> and reads its name="value" pairs.
std::vector<Element> FindElements(const std::string& xml, const std::string& tag) {
    std::vector<Element> found;
    const std::string open = "<" + tag;
    for (size_t at = xml.find(open); at != std::string::npos; at = xml.find(open, at + 1)) {
        size_t p = at + open.size();
        if (p >= xml.size() || !(std::isspace(static_cast<unsigned char>(xml[p])) || xml[p] == '/' || xml[p] == '>'))
            continue;
        Element element{at, {}};
        while (p < xml.size() && xml[p] != '>') {
            while (p < xml.size() && (std::isspace(static_cast<unsigned char>(xml[p])) || xml[p] == '/')) ++p;
            if (p >= xml.size() || xml[p] == '>') break;
            size_t name_end = xml.find('=', p);
            if (name_end == std::string::npos) break;
            std::string name = xml.substr(p, name_end - p);
            while (!name.empty() && std::isspace(static_cast<unsigned char>(name.back()))) name.pop_back();
            size_t quote = xml.find_first_of("\"'", name_end);
            if (quote == std::string::npos) break;
            size_t close = xml.find(xml[quote], quote + 1);
            if (close == std::string::npos) break;
            element.attributes[name] = xml.substr(quote + 1, close - quote - 1);
            p = close + 1;
        }
        found.push_back(element);
    }
    return found;
}

class ManifestTest : public ResourcesTest {
protected:
    void SetUp() override {
        ResourcesTest::SetUp();
        if (HasFatalFailure()) return;
        Bytes raw = Load(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID, kNeutral);
        ASSERT_FALSE(raw.empty()) << "no manifest resource 1";
        text_.assign(raw.begin(), raw.end());
    }
    std::string text_;
};

TEST_F(ManifestTest, IsTheOnlyManifestAndLanguageNeutral) {
    EXPECT_EQ(Names(RT_MANIFEST), std::vector<std::wstring>{L"#1"});
    EXPECT_EQ(Languages(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID), std::vector<WORD>{kNeutral});
}

TEST_F(ManifestTest, NamesItselfAndDependsOnCommonControls6) {
    std::vector<Element> identities = FindElements(text_, "assemblyIdentity");
    ASSERT_EQ(identities.size(), 2u) << text_;

    const size_t dependency = text_.find("<dependency");
    const size_t dependent = text_.find("<dependentAssembly");
    const size_t dependent_end = text_.find("</dependentAssembly>");
    ASSERT_NE(dependency, std::string::npos);
    ASSERT_NE(dependent, std::string::npos);
    ASSERT_NE(dependent_end, std::string::npos);

    const Element& self = identities[0];
    EXPECT_LT(self.offset, dependency) << "the program's own identity comes first";
    EXPECT_EQ(
        self.attributes,
        (Attributes{{"type", "win32"}, {"name", "Velmora"}, {"version", "1.1.0.3"}, {"processorArchitecture", "x86"}}));

    const Element& controls = identities[1];
    EXPECT_GT(controls.offset, dependent);
    EXPECT_LT(controls.offset, dependent_end);
    EXPECT_EQ(controls.attributes, (Attributes{{"type", "win32"},
                                               {"name", "Microsoft.Windows.Common-Controls"},
                                               {"version", "6.0.0.0"},
                                               {"processorArchitecture", "x86"},
                                               {"publicKeyToken", "6595b64144ccf1df"},
                                               {"language", "*"}}));
}

TEST_F(ManifestTest, DeclaresNothingBeyondTheDependency) {
    // Each of these changes how Windows starts or scales the program.
    for (const char* word : {"dpiAware", "dpiAwareness", "requestedExecutionLevel", "trustInfo", "compatibility",
                             "supportedOS", "longPathAware"}) {
        EXPECT_EQ(text_.find(word), std::string::npos) << word;
    }
}

// ---------------------------------------------------------------------------------------------
// Version record

struct VersionString {
    const wchar_t* key;
    const wchar_t* value;
};

void PrintTo(const VersionString& s, std::ostream* os) {
    *os << ::testing::PrintToString(std::wstring(s.key)) << " = " << ::testing::PrintToString(std::wstring(s.value));
}

// In the order they must appear in the string table.
const VersionString kVersionStrings[] = {
    {L"FileVersion", L"1.1.0.3"}, {L"FileDescription", L"Velmora"},
    {L"ProductName", L"Velmora"}, {L"ProductVersion", L"1.1.0.3"},
    {L"CompanyName", L"Velmora"}, {L"LegalCopyright", L"Copyright (C) 2020 Velmora"},
    {L"Comments", L"Velmora"},
};

// One node of the raw version block: wLength, wValueLength, wType, key, padding, value,
// padding, children.
struct VersionNode {
    std::wstring key;
    WORD type = 0;
    Bytes value;
    std::vector<VersionNode> children;

    std::wstring Text() const {
        std::wstring text;
        for (size_t i = 0; i + 1 < value.size(); i += 2) {
            wchar_t c = static_cast<wchar_t>(value[i] | (value[i + 1] << 8));
            if (c == L'\0') break;
            text += c;
        }
        return text;
    }
    const VersionNode* Child(const std::wstring& name) const {
        for (const VersionNode& child : children) {
            if (child.key == name) return &child;
        }
        return nullptr;
    }
};

size_t Align4(size_t offset) { return (offset + 3) & ~size_t{3}; }

WORD ReadWord(const Bytes& block, size_t offset) { return static_cast<WORD>(block[offset] | (block[offset + 1] << 8)); }

// Offsets are relative to the block start, which Windows keeps 32-bit aligned.
bool ParseVersionNode(const Bytes& block, size_t offset, size_t limit, VersionNode* node, std::string* error) {
    if (offset + 6 > limit) {
        *error = "node header runs past its parent at " + std::to_string(offset);
        return false;
    }
    const size_t length = ReadWord(block, offset);
    const size_t value_length = ReadWord(block, offset + 2);
    node->type = ReadWord(block, offset + 4);
    const size_t end = offset + length;
    if (length < 6 || end > limit) {
        *error = "node length " + std::to_string(length) + " does not fit at " + std::to_string(offset);
        return false;
    }
    size_t p = offset + 6;
    for (;;) {
        if (p + 2 > end) {
            *error = "unterminated key at " + std::to_string(offset);
            return false;
        }
        wchar_t c = static_cast<wchar_t>(ReadWord(block, p));
        p += 2;
        if (c == L'\0') break;
        node->key += c;
    }
    p = Align4(p);
    // Text values count UTF-16 units, binary values count bytes.
    size_t value_bytes = node->type == 1 ? value_length * 2 : value_length;
    if (p + value_bytes > end) {
        if (node->type != 1) {
            *error = "binary value overruns node " + std::to_string(offset);
            return false;
        }
        value_bytes = end > p ? end - p : 0;
    }
    node->value.assign(block.begin() + p, block.begin() + p + value_bytes);
    p = Align4(p + value_bytes);
    while (p < end) {
        VersionNode child;
        if (!ParseVersionNode(block, p, end, &child, error)) return false;
        p = Align4(p + ReadWord(block, p));
        node->children.push_back(std::move(child));
    }
    return true;
}

class VersionTest : public ResourcesTest {
protected:
    void SetUp() override {
        ResourcesTest::SetUp();
        if (HasFatalFailure()) return;
        block_ = Load(RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO), kChineseSimplified);
        ASSERT_FALSE(block_.empty()) << "no version resource in language 2052";
        // VerQueryValue may write converted text past the block, as in GetFileVersionInfo's buffer.
        query_buffer_ = block_;
        query_buffer_.resize(block_.size() * 3);
    }

    template <typename T>
    const T* Query(const std::wstring& path, UINT* size) {
        void* data = nullptr;
        *size = 0;
        if (!VerQueryValueW(query_buffer_.data(), path.c_str(), &data, size)) return nullptr;
        return static_cast<const T*>(data);
    }

    Bytes block_;
    Bytes query_buffer_;
};

TEST_F(VersionTest, IsPublishedOnlyInSimplifiedChinese) {
    EXPECT_EQ(Names(RT_VERSION), std::vector<std::wstring>{L"#1"});
    EXPECT_EQ(Languages(RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO)), std::vector<WORD>{kChineseSimplified});
}

TEST_F(VersionTest, FixedInfoDescribesA32BitApplication) {
    UINT size = 0;
    const auto* fixed = Query<VS_FIXEDFILEINFO>(L"\\", &size);
    ASSERT_NE(fixed, nullptr);
    ASSERT_EQ(size, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), 1);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), 1);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), 0);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionLS), 3);
    EXPECT_EQ(HIWORD(fixed->dwProductVersionMS), 1);
    EXPECT_EQ(LOWORD(fixed->dwProductVersionMS), 1);
    EXPECT_EQ(HIWORD(fixed->dwProductVersionLS), 0);
    EXPECT_EQ(LOWORD(fixed->dwProductVersionLS), 3);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileSubtype, 0u);
}

TEST_F(VersionTest, TranslationIsChineseSimplifiedUnicode) {
    UINT size = 0;
    const auto* translation = Query<WORD>(L"\\VarFileInfo\\Translation", &size);
    ASSERT_NE(translation, nullptr);
    ASSERT_EQ(size, 2 * sizeof(WORD));
    EXPECT_EQ(translation[0], 0x0804);
    EXPECT_EQ(translation[1], 1200);  // UTF-16LE
}

class VersionStringTest : public VersionTest, public ::testing::WithParamInterface<VersionString> {};

TEST_P(VersionStringTest, ReadsBackThroughVerQueryValue) {
    const VersionString expected = GetParam();
    UINT size = 0;
    const auto* text = Query<wchar_t>(std::wstring(L"\\StringFileInfo\\080404B0\\") + expected.key, &size);
    ASSERT_NE(text, nullptr) << "missing " << ::testing::PrintToString(std::wstring(expected.key));
    std::wstring value(text, size);
    while (!value.empty() && value.back() == L'\0') value.pop_back();
    EXPECT_EQ(value, expected.value);
}

INSTANTIATE_TEST_SUITE_P(StringTable, VersionStringTest, ::testing::ValuesIn(kVersionStrings),
                         [](const ::testing::TestParamInfo<VersionString>& info) {
                             std::string name;
                             for (const wchar_t* c = info.param.key; *c; ++c) name += static_cast<char>(*c);
                             return name;
                         });

TEST_F(VersionTest, RawBlockKeepsTheStringsInOrder) {
    VersionNode root;
    std::string error;
    ASSERT_TRUE(ParseVersionNode(block_, 0, block_.size(), &root, &error)) << error;
    EXPECT_EQ(root.key, L"VS_VERSION_INFO");
    ASSERT_EQ(root.value.size(), sizeof(VS_FIXEDFILEINFO));

    std::vector<std::wstring> top_keys;
    for (const VersionNode& child : root.children) top_keys.push_back(child.key);
    EXPECT_EQ(top_keys, (std::vector<std::wstring>{L"StringFileInfo", L"VarFileInfo"}));

    const VersionNode* strings = root.Child(L"StringFileInfo");
    ASSERT_NE(strings, nullptr);
    ASSERT_EQ(strings->children.size(), 1u);
    const VersionNode& table = strings->children[0];
    EXPECT_EQ(table.key, L"080404B0");

    std::vector<std::wstring> expected_keys;
    std::vector<std::wstring> expected_values;
    for (const VersionString& s : kVersionStrings) {
        expected_keys.push_back(s.key);
        expected_values.push_back(s.value);
    }
    std::vector<std::wstring> keys;
    std::vector<std::wstring> values;
    for (const VersionNode& entry : table.children) {
        EXPECT_EQ(entry.type, 1) << "string entry stored as binary";
        keys.push_back(entry.key);
        values.push_back(entry.Text());
    }
    EXPECT_EQ(keys, expected_keys);
    EXPECT_EQ(values, expected_values);

    const VersionNode* vars = root.Child(L"VarFileInfo");
    ASSERT_NE(vars, nullptr);
    const VersionNode* translation = vars->Child(L"Translation");
    ASSERT_NE(translation, nullptr);
    EXPECT_EQ(translation->value, (Bytes{0x04, 0x08, 0xB0, 0x04}));
}

}  // namespace
