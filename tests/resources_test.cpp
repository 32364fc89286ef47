// The resources of the built follow.exe and glyphroots.exe, read back
// through the Win32 API under Wine and held to the values each program
// must carry. Arguments: the two programs' paths.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "program_args.h"
#include "version.h"
#include "wide_win32.h"

namespace {

std::string follow_exe, glyphroots_exe;

std::string hex(unsigned long value, int digits = 4) {
    char text[17];
    return std::string(text, std::snprintf(text, sizeof text, "%0*lX", digits, value));
}

std::string dotted(std::initializer_list<unsigned> parts) {
    std::string text;
    for (unsigned p : parts) text += (text.empty() ? "" : ".") + std::to_string(p);
    return text;
}

// What a program's resources say, by name. The manifest's facts are named
// parent/element for an element's text and parent/element@attribute for an
// attribute; a version string by its key; the rest as in the table below.
// A fact found more than once lists its values, in order, with commas.
using Facts = std::map<std::string, std::string>;

// A fixed value: the fact, then what follow.exe and glyphroots.exe show (glyphroots' left
// empty where it is the same); `chosen`, a value of the suite's own choosing, must be there.
struct Row { std::string fact, follow, glyphroots; };
const std::string chosen = "(any text)";
const std::string us_english = hex(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
const std::string uk_english_unicode = hex(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK)) + hex(1200);

const std::vector<Row> rows = {
    // Everything filed under U.S. English; one manifest, where CreateProcess reads it.
    {"languages", us_english},
    {"names of type #24", "#1"},
    {"xml@version", "1.0"},
    {"xml@encoding", "UTF-8"},
    {"xml@standalone", "yes"},
    {"assembly/assemblyIdentity@name", "follow.exe", "glyphroots.exe"},
    {"assembly/assemblyIdentity@version", "1.0.0.0"},
    {"assembly/assemblyIdentity@processorArchitecture", "*"},
    {"assembly/assemblyIdentity@type", "win32"},
    {"assembly/description", "A simple command processor tool to follow log files",
     "Make an Ostrel glyphroots file matched to the installation."},
    {"dependentAssembly/assemblyIdentity@type", "win32"},
    {"dependentAssembly/assemblyIdentity@name", "Microsoft.Windows.Common-Controls"},
    {"dependentAssembly/assemblyIdentity@version", "6.0.0.0"},
    {"dependentAssembly/assemblyIdentity@processorArchitecture", "*"},
    {"dependentAssembly/assemblyIdentity@publicKeyToken", "6595b64144ccf1df"},
    {"dependentAssembly/assemblyIdentity@language", "*"},
    {"windowsSettings/dpiAware", "true/pm"},
    {"windowsSettings/dpiAwareness", "permonitorv2,permonitor"},
    {"windowsSettings/gdiScaling", "true"},
    {"requestedPrivileges/requestedExecutionLevel@level", "asInvoker"},
    {"requestedPrivileges/requestedExecutionLevel@uiAccess", "false"},
    {"application/supportedOS@Id",  // Windows Vista, 7, 8, 8.1 and 10
     "{e2011457-1546-43c5-a5fe-008deee3d3f0},{35138b9a-5d96-4fbd-8e2d-a2440225f93a},"
     "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38},{1f676c76-80e1-4239-95bb-83d0f6d0da78},"
     "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"},
    // One icon group of nine images, each with its bytes, and Windows makes an icon of it.
    {"names of type #14", "FOLLOW_ICON", "GLYPHROOTS_ICON"},
    {"icon images", "9"},
    {"icon image 1", "48x48 at 4 bpp, #1"},
    {"icon image 2", "32x32 at 4 bpp, #2"},
    {"icon image 3", "16x16 at 4 bpp, #3"},
    {"icon image 4", "48x48 at 8 bpp, #4"},
    {"icon image 5", "32x32 at 8 bpp, #5"},
    {"icon image 6", "16x16 at 8 bpp, #6"},
    {"icon image 7", "48x48 at 32 bpp, #7"},
    {"icon image 8", "32x32 at 32 bpp, #8"},
    {"icon image 9", "16x16 at 32 bpp, #9"},
    {"icon made", "yes"},
    // The version record of an application; its strings in one block, in this order.
    {"names of type #16", "#1"},
    {"version root", "VS_VERSION_INFO"},
    {"signature", "FEEF04BD"},
    {"file version", "1.0.0.0"},
    {"product version", dotted({OSTREL_PRODUCT_VERSION_NUMBERS})},
    {"file os", hex(VOS_NT_WINDOWS32, 8)},
    {"file type", hex(VFT_APP, 8)},
    {"translations", uk_english_unicode},
    {"\\StringFileInfo", uk_english_unicode},
    {"\\StringFileInfo\\" + uk_english_unicode, "FileDescription,ProductName,ProductVersion,FileVersion,"
     "InternalName,OriginalFilename,CompanyName,LegalCopyright,Info,Comment"},
    {"FileDescription", "Follow: a simple tool to monitor log files",
     "Used by the Ostrel installer to create glyphroots."},
    {"ProductName", chosen},
    {"ProductVersion", OSTREL_PRODUCT_VERSION},
    {"FileVersion", "1.0.0.Ostrel"},
    {"InternalName", "follow", "glyphroots creator"},
    {"OriginalFilename", "follow.exe", "glyphroots.exe"},
    {"CompanyName", chosen},
    {"LegalCopyright", chosen},
    {"Info", chosen},
    {"Comment", "A simple command processor tool to follow log files",
     "Makes an Ostrel glyphroots file matched to the installation."},
};

void add(Facts& facts, const std::string& name, const std::string& value, bool once = false) {
    std::string& all = facts[name];
    if (once && ("," + all + ",").find("," + value + ",") != std::string::npos) return;
    all += (all.empty() ? "" : ",") + value;
}

std::string utf8(const std::wstring& wide) { return to_code_page(wide, CP_UTF8); }
std::string name_of(LPCSTR name) {
    return IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : name;
}

void read_manifest(const std::string& xml, Facts& facts) {
    static const std::regex tag(R"(<([/?!]?)(?:[\w.-]+:)?([^\s/>]+)([^>]*?)(/?)>)"),
        attribute(R"(([\w:]+)=\"([^\"]*)\")");
    std::vector<std::string> open{""};
    for (std::sregex_iterator t(xml.begin(), xml.end(), tag), end; t != end; ++t) {
        const std::smatch& m = *t;
        if (m[1] == "/") open.pop_back();
        if (m[1] == "/" || m[1] == "!") continue;
        std::string name = open.back() + (open.back().empty() ? "" : "/") + m[2].str();
        for (std::sregex_iterator a(m[3].first, m[3].second, attribute); a != end; ++a)
            add(facts, name + "@" + (*a)[1].str(), (*a)[2]);
        if (m[1] == "?" || m[4] == "/") continue;
        open.push_back(m[2]);
        std::size_t after = m[0].second - xml.cbegin(), next = xml.find('<', after);
        if (next != std::string::npos && xml[next + 1] == '/') add(facts, name, xml.substr(after, next - after));
    }
}

std::pair<const BYTE*, DWORD> resource(HMODULE module, LPCSTR type, LPCSTR name) {
    HRSRC found = FindResourceExA(module, type, name, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    if (!found) return {nullptr, 0};
    return {static_cast<const BYTE*>(LockResource(LoadResource(module, found))), SizeofResource(module, found)};
}

#pragma pack(push, 2)
struct GroupEntry { BYTE width, height, colours, reserved; WORD planes, bit_count; DWORD bytes; WORD id; };
#pragma pack(pop)

void read_icon(HMODULE module, const std::string& group, Facts& facts) {
    auto [data, size] = resource(module, MAKEINTRESOURCEA(14), group.c_str());
    WORD count = 0;
    if (data) std::memcpy(&count, data + 4, 2);
    bool whole = size == 6 + count * sizeof(GroupEntry);
    facts["icon images"] = std::to_string(count) + (whole ? "" : " in a group of the wrong size");
    for (int i = 0; whole && i < count; ++i) {
        GroupEntry e;
        std::memcpy(&e, data + 6 + i * sizeof e, sizeof e);
        auto [image, image_size] = resource(module, MAKEINTRESOURCEA(3), MAKEINTRESOURCEA(e.id));
        facts["icon image " + std::to_string(i + 1)] =
            std::to_string(e.width) + "x" + std::to_string(e.height) + " at " + std::to_string(e.bit_count) +
            " bpp, #" + std::to_string(e.id) + (image && image_size == e.bytes ? "" : " without its bytes");
    }
    HICON icon = static_cast<HICON>(LoadImageA(module, group.c_str(), IMAGE_ICON, 32, 32, 0));
    facts["icon made"] = icon && DestroyIcon(icon) ? "yes" : "no";
}

template <class T> T* query(std::vector<char>& info, const std::wstring& path, UINT& length) {
    void* value = nullptr;
    return VerQueryValueW(info.data(), path.c_str(), &value, &length) ? static_cast<T*>(value) : nullptr;
}

// The version record is a tree of blocks: a length, a value length, a type
// (1: text), a UTF-16 key and 32-bit alignment, then the value and the children.
struct Block { WORD length; std::wstring key; const BYTE* children; };
const BYTE* aligned(const BYTE* base, const BYTE* p) { return base + ((p - base + 3) & ~std::ptrdiff_t(3)); }

Block read_block(const BYTE* base, const BYTE* p) {
    WORD head[3];  // length, value length, type
    std::memcpy(head, p, sizeof head);
    std::wstring key;
    const BYTE* k = p + 6;
    for (wchar_t c; std::memcpy(&c, k, 2), c != 0; k += 2) key += c;
    return {head[0], key, aligned(base, aligned(base, k + 2) + (head[2] == 1 ? head[1] * 2 : head[1]))};
}

// Each block's children's keys in order, under its path; each string as Windows reads it.
void walk(std::vector<char>& info, const BYTE* p, const std::wstring& path, Facts& facts) {
    const BYTE* base = reinterpret_cast<const BYTE*>(info.data());
    const Block block = read_block(base, p);
    UINT length = 0;
    for (const BYTE* c = block.children; c + 6 < p + block.length;) {
        const Block child = read_block(base, c);
        if (child.length == 0) break;
        const std::wstring child_path = path + L"\\" + child.key;
        add(facts, utf8(path.empty() ? L"\\" : path), utf8(child.key));
        const wchar_t* text = query<wchar_t>(info, child_path, length);
        if (path.rfind(L"\\StringFileInfo\\", 0) == 0) add(facts, utf8(child.key), text ? utf8(text) : "");
        walk(info, c, child_path, facts);
        c = aligned(base, c + child.length);
    }
}

void read_version(const std::string& exe, Facts& facts) {
    DWORD ignored = 0, size = GetFileVersionInfoSizeW(widen(exe).c_str(), &ignored);
    std::vector<char> info(size);
    if (size == 0 || !GetFileVersionInfoW(widen(exe).c_str(), 0, size, info.data())) return;
    UINT length = 0;
    if (auto* f = query<VS_FIXEDFILEINFO>(info, L"\\", length)) {
        facts["signature"] = hex(f->dwSignature, 8);
        facts["file version"] = dotted({HIWORD(f->dwFileVersionMS), LOWORD(f->dwFileVersionMS),
                                        HIWORD(f->dwFileVersionLS), LOWORD(f->dwFileVersionLS)});
        facts["product version"] = dotted({HIWORD(f->dwProductVersionMS), LOWORD(f->dwProductVersionMS),
                                           HIWORD(f->dwProductVersionLS), LOWORD(f->dwProductVersionLS)});
        facts["file os"] = hex(f->dwFileOS, 8);
        facts["file type"] = hex(f->dwFileType, 8);
    }
    if (WORD* t = query<WORD>(info, L"\\VarFileInfo\\Translation", length))
        for (UINT i = 0; i + 1 < length / 2; i += 2) add(facts, "translations", hex(t[i]) + hex(t[i + 1]));
    const BYTE* root = reinterpret_cast<const BYTE*>(info.data());
    facts["version root"] = utf8(read_block(root, root).key);
    walk(info, root, L"", facts);
}

Facts read_facts(HMODULE module, const std::string& exe) {
    Facts facts;
    EnumResourceTypesA(module, [](HMODULE m, LPSTR type, LONG_PTR facts) -> BOOL {
        return EnumResourceNamesA(m, type, [](HMODULE m, LPCSTR type, LPSTR name, LONG_PTR facts) -> BOOL {
            add(*reinterpret_cast<Facts*>(facts), "names of type " + name_of(type), name_of(name));
            return EnumResourceLanguagesA(
                m, type, name, [](HMODULE, LPCSTR, LPCSTR, WORD lang, LONG_PTR facts) -> BOOL {
                    add(*reinterpret_cast<Facts*>(facts), "languages", hex(lang), true);
                    return TRUE;
                }, facts);
        }, facts);
    }, reinterpret_cast<LONG_PTR>(&facts));
    if (auto [xml, size] = resource(module, MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1)); xml)
        read_manifest(std::string(reinterpret_cast<const char*>(xml), size), facts);
    read_icon(module, facts["names of type #14"], facts);
    read_version(exe, facts);
    return facts;
}

TEST(Resources, FixedValues) {
    for (const std::string* program : {&follow_exe, &glyphroots_exe}) {
        SCOPED_TRACE(*program);
        HMODULE module = LoadLibraryExW(widen(*program).c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module, nullptr);
        Facts facts = read_facts(module, *program);
        FreeLibrary(module);
        for (const Row& row : rows) {
            const std::string& expected =
                program == &glyphroots_exe && !row.glyphroots.empty() ? row.glyphroots : row.follow;
            if (expected == chosen) EXPECT_NE(facts[row.fact], "") << row.fact;
            else EXPECT_EQ(facts[row.fact], expected) << row.fact;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    return run_tests_on_programs(argc, argv, {&follow_exe, &glyphroots_exe},
                                 "resources_test FOLLOW.EXE GLYPHROOTS.EXE");
}
