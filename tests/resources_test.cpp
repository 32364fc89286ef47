// The resources of the built follow.exe and glyphroots.exe, read back
// through the Win32 API under Wine. Arguments: the two programs' paths.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "program_args.h"
#include "version.h"
#include "wide_win32.h"

namespace {

std::string follow_exe, glyphroots_exe;

struct Program {
    std::string exe;
    const char* icon;
    const char* identity;
    const char* manifest_description;
    std::vector<std::pair<const char*, std::string>> strings;  // in block order
};

std::vector<Program> programs() {
    const std::string product = OSTREL_PRODUCT_VERSION;
    const std::string company = "The Ostrel X server project";
    const std::string copyright = "Copyright (C) 2026 The Ostrel X server project";
    return {
        {follow_exe, "FOLLOW_ICON", "follow.exe", "A simple command processor tool to follow log files",
         {{"FileDescription", "Follow: a simple tool to monitor log files"},
          {"ProductName", "Ostrel X server"},
          {"ProductVersion", product},
          {"FileVersion", "1.0.0.Ostrel"},
          {"InternalName", "follow"},
          {"OriginalFilename", "follow.exe"},
          {"CompanyName", company},
          {"LegalCopyright", copyright},
          {"Info", "Companion of the Ostrel X server: shows the last ten lines of a log, then every "
                   "byte appended to it. With no argument it follows %TEMP%\\Ostrel.<DISNO>.log, the "
                   "server's log for display DISNO."},
          {"Comment", "A simple command processor tool to follow log files"}}},
        {glyphroots_exe, "GLYPHROOTS_ICON", "glyphroots.exe",
         "Make an Ostrel glyphroots file matched to the installation.",
         {{"FileDescription", "Used by the Ostrel installer to create glyphroots."},
          {"ProductName", "Ostrel X server"},
          {"ProductVersion", product},
          {"FileVersion", "1.0.0.Ostrel"},
          {"InternalName", "glyphroots creator"},
          {"OriginalFilename", "glyphroots.exe"},
          {"CompanyName", company},
          {"LegalCopyright", copyright},
          {"Info", "Companion of the Ostrel X server: run once by the installer with the install "
                   "directory, it writes the font path list <install directory>\\glyphroots unless "
                   "one is there already."},
          {"Comment", "Makes an Ostrel glyphroots file matched to the installation."}}},
    };
}

std::vector<char> version_info(const std::string& exe) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(widen(exe).c_str(), &ignored);
    std::vector<char> data(size);
    if (size == 0 || !GetFileVersionInfoW(widen(exe).c_str(), 0, size, data.data())) data.clear();
    return data;
}

TEST(Resources, VersionStringsAndNumbers) {
    for (const Program& p : programs()) {
        SCOPED_TRACE(p.exe);
        std::vector<char> info = version_info(p.exe);
        ASSERT_FALSE(info.empty());
        for (const auto& [key, expected] : p.strings) {
            std::string query = std::string("\\StringFileInfo\\080904B0\\") + key;
            char* value = nullptr;
            UINT length = 0;
            ASSERT_TRUE(VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &length)) << key;
            EXPECT_EQ(std::string(value), expected) << key;
        }
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
        EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
        EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
        EXPECT_EQ(fixed->dwFileVersionLS, 0u);
        const WORD numbers[] = {OSTREL_PRODUCT_VERSION_NUMBERS};
        EXPECT_EQ(fixed->dwProductVersionMS, DWORD(numbers[0]) << 16 | numbers[1]);
        EXPECT_EQ(fixed->dwProductVersionLS, DWORD(numbers[2]) << 16 | numbers[3]);
        EXPECT_EQ(fixed->dwFileOS, DWORD(VOS_NT_WINDOWS32));
        EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));
        WORD* translation = nullptr;
        ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                                   reinterpret_cast<void**>(&translation), &length));
        ASSERT_EQ(length, 4u);
        EXPECT_EQ(translation[0], 0x0809);
        EXPECT_EQ(translation[1], 1200);
    }
}

// The keys of the string table, in the order they are stored: walks the
// raw version resource, whose blocks are a length, a value length, a type,
// a UTF-16 key and 32-bit alignment, then the value and the children.
struct Block {
    const BYTE* start;
    WORD length, value_length;
    std::wstring key;
    const BYTE* children;
};

const BYTE* aligned(const BYTE* base, const BYTE* p) {
    return base + ((p - base + 3) & ~std::ptrdiff_t(3));
}

Block read_block(const BYTE* base, const BYTE* p) {
    Block b{p, 0, 0, L"", nullptr};
    std::memcpy(&b.length, p, 2);
    std::memcpy(&b.value_length, p + 2, 2);
    WORD type;
    std::memcpy(&type, p + 4, 2);
    const BYTE* k = p + 6;
    for (wchar_t c; std::memcpy(&c, k, 2), c != 0; k += 2) b.key += c;
    const BYTE* value = aligned(base, k + 2);
    std::size_t value_bytes = type == 1 ? b.value_length * 2 : b.value_length;
    b.children = aligned(base, value + value_bytes);
    return b;
}

std::vector<Block> children(const BYTE* base, const Block& parent) {
    std::vector<Block> out;
    const BYTE* end = parent.start + parent.length;
    for (const BYTE* p = parent.children; p + 6 < end;) {
        Block b = read_block(base, p);
        if (b.length == 0) break;
        out.push_back(b);
        p = aligned(base, p + b.length);
    }
    return out;
}

HMODULE load_as_data(const std::string& exe) {
    return LoadLibraryExW(widen(exe).c_str(), nullptr,
                          LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}

std::pair<const BYTE*, DWORD> resource(HMODULE module, LPCSTR type, LPCSTR name) {
    HRSRC found = FindResourceExA(module, type, name, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    if (!found) return {nullptr, 0};
    return {static_cast<const BYTE*>(LockResource(LoadResource(module, found))),
            SizeofResource(module, found)};
}

TEST(Resources, StringKeysInOrder) {
    for (const Program& p : programs()) {
        SCOPED_TRACE(p.exe);
        HMODULE module = load_as_data(p.exe);
        ASSERT_NE(module, nullptr);
        auto [data, size] = resource(module, MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1));
        ASSERT_NE(data, nullptr);
        Block root = read_block(data, data);
        EXPECT_EQ(root.key, L"VS_VERSION_INFO");
        std::vector<std::wstring> tables, keys;
        for (const Block& b : children(data, root)) {
            if (b.key != L"StringFileInfo") continue;
            for (const Block& table : children(data, b)) {
                tables.push_back(table.key);
                for (const Block& s : children(data, table)) keys.push_back(s.key);
            }
        }
        EXPECT_EQ(tables, std::vector<std::wstring>{L"080904B0"});
        std::vector<std::wstring> expected;
        for (const auto& [key, value] : p.strings) expected.push_back(std::wstring(key, key + std::strlen(key)));
        EXPECT_EQ(keys, expected);
        FreeLibrary(module);
    }
}

BOOL CALLBACK count_name(HMODULE, LPCSTR, LPSTR, LONG_PTR count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int resources_of_type(HMODULE module, int type) {
    int found = 0;
    EnumResourceNamesA(module, MAKEINTRESOURCEA(type), count_name, reinterpret_cast<LONG_PTR>(&found));
    return found;
}

TEST(Resources, OneManifestNamingTheProgram) {
    for (const Program& p : programs()) {
        SCOPED_TRACE(p.exe);
        HMODULE module = load_as_data(p.exe);
        ASSERT_NE(module, nullptr);
        EXPECT_EQ(resources_of_type(module, 24), 1) << "manifests";
        auto [data, size] = resource(module, MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
        ASSERT_NE(data, nullptr);
        std::string xml(reinterpret_cast<const char*>(data), size);
        for (const std::string& part : {
                 std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"),
                 "<assemblyIdentity name=\"" + std::string(p.identity) +
                     "\" version=\"1.0.0.0\" processorArchitecture=\"*\" type=\"win32\"/>",
                 "<description>" + std::string(p.manifest_description) + "</description>",
                 std::string("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" "
                             "processorArchitecture=\"*\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\""),
                 std::string(">true/pm</dpiAware>"), std::string(">permonitorv2,permonitor</dpiAwareness>"),
                 std::string(">true</gdiScaling>"),
                 std::string("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"),
                 std::string("{e2011457-1546-43c5-a5fe-008deee3d3f0}"),
                 std::string("{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"),
                 std::string("{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"),
                 std::string("{1f676c76-80e1-4239-95bb-83d0f6d0da78}"),
                 std::string("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"),
             }) {
            EXPECT_NE(xml.find(part), std::string::npos) << part;
        }
        FreeLibrary(module);
    }
}

#pragma pack(push, 2)
struct GroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bit_count;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST(Resources, IconGroupOfNineImages) {
    const struct {
        int size, bits;
    } expected[] = {{48, 4}, {32, 4}, {16, 4}, {48, 8}, {32, 8}, {16, 8}, {48, 32}, {32, 32}, {16, 32}};
    for (const Program& p : programs()) {
        SCOPED_TRACE(p.exe);
        HMODULE module = load_as_data(p.exe);
        ASSERT_NE(module, nullptr);
        EXPECT_EQ(resources_of_type(module, 14), 1) << "icon groups";
        auto [data, size] = resource(module, MAKEINTRESOURCEA(14), p.icon);
        ASSERT_NE(data, nullptr);
        WORD count;
        std::memcpy(&count, data + 4, 2);
        ASSERT_EQ(count, 9);
        ASSERT_EQ(size, 6 + 9 * sizeof(GroupEntry));
        for (int i = 0; i < 9; ++i) {
            GroupEntry e;
            std::memcpy(&e, data + 6 + i * sizeof e, sizeof e);
            EXPECT_EQ(e.width, expected[i].size) << i;
            EXPECT_EQ(e.height, expected[i].size) << i;
            EXPECT_EQ(e.bit_count, expected[i].bits) << i;
            EXPECT_EQ(e.id, i + 1) << i;
            auto [image, image_size] = resource(module, MAKEINTRESOURCEA(3), MAKEINTRESOURCEA(e.id));
            ASSERT_NE(image, nullptr);
            EXPECT_EQ(image_size, e.bytes);
        }
        // And Windows makes an icon of it.
        HICON icon = static_cast<HICON>(LoadImageA(module, p.icon, IMAGE_ICON, 32, 32, 0));
        EXPECT_NE(icon, nullptr);
        if (icon) DestroyIcon(icon);
        FreeLibrary(module);
    }
}

}  // namespace

int main(int argc, char** argv) {
    return run_tests_on_programs(argc, argv, {&follow_exe, &glyphroots_exe},
                                 "resources_test FOLLOW.EXE GLYPHROOTS.EXE");
}
