// Reads back from Windows itself what tools/check-install-windows.sh checks in an installed Tabulane; not shipped.
//   tabulane_probe_install version <file>    the version resource: ProductName=, CompanyName=, FileVersion=,
//                                            ProductVersion=, FixedFileVersion=a.b.c.d, one per line
//   tabulane_probe_install shortcut <.lnk>   the shortcut's Target= and WorkingDirectory=
// Prints UTF-8; exit status 1 with a reason on standard error when the file holds no such thing.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string ToUtf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) {
        WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    }
    return result;
}

int Fail(const std::string& reason) {
    std::fprintf(stderr, "%s\n", reason.c_str());
    return 1;
}

int PrintVersion(const wchar_t* file) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file, &ignored);
    if (size == 0) {
        return Fail(ToUtf8(file) + ": no version resource");
    }
    std::vector<unsigned char> data(size);
    if (!GetFileVersionInfoW(file, 0, size, data.data())) {
        return Fail(ToUtf8(file) + ": the version resource cannot be read");
    }
    void* value = nullptr;
    UINT length = 0;
    if (VerQueryValueW(data.data(), L"\\", &value, &length) && length >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        std::printf("FixedFileVersion=%u.%u.%u.%u\n", unsigned{HIWORD(fixed->dwFileVersionMS)},
                    unsigned{LOWORD(fixed->dwFileVersionMS)}, unsigned{HIWORD(fixed->dwFileVersionLS)},
                    unsigned{LOWORD(fixed->dwFileVersionLS)});
    }
    // The strings live in a block per language and code page; the first translation listed names it.
    struct Translation {
        WORD language;
        WORD codePage;
    };
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &value, &length) || length < sizeof(Translation)) {
        return Fail(ToUtf8(file) + ": the version resource lists no translation");
    }
    const auto* translation = static_cast<const Translation*>(value);
    wchar_t block[32];
    swprintf(block, 32, L"\\StringFileInfo\\%04x%04x\\", translation->language, translation->codePage);
    for (const wchar_t* name : {L"ProductName", L"CompanyName", L"FileVersion", L"ProductVersion"}) {
        const std::wstring path = std::wstring(block) + name;
        if (VerQueryValueW(data.data(), path.c_str(), &value, &length) && length > 0) {
            std::printf("%s=%s\n", ToUtf8(name).c_str(), ToUtf8(static_cast<const wchar_t*>(value)).c_str());
        }
    }
    return 0;
}

int PrintShortcut(const wchar_t* file) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        return Fail("COM does not start");
    }
    int status = 1;
    IShellLinkW* link = nullptr;
    IPersistFile* persist = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link)))) {
        Fail("no shell link object");
    } else if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) ||
               FAILED(persist->Load(file, STGM_READ))) {
        Fail(ToUtf8(file) + ": not a shortcut that can be read");
    } else {
        wchar_t target[MAX_PATH] = L"";
        wchar_t folder[MAX_PATH] = L"";
        link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
        link->GetWorkingDirectory(folder, MAX_PATH);
        std::printf("Target=%s\nWorkingDirectory=%s\n", ToUtf8(target).c_str(), ToUtf8(folder).c_str());
        status = 0;
    }
    if (persist != nullptr) {
        persist->Release();
    }
    if (link != nullptr) {
        link->Release();
    }
    CoUninitialize();
    return status;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc == 3 ? argv[1] : L"";
    if (command == L"version") {
        return PrintVersion(argv[2]);
    }
    if (command == L"shortcut") {
        return PrintShortcut(argv[2]);
    }
    return Fail("usage: tabulane_probe_install version <file> | shortcut <file.lnk>");
}
