// Both builds of vordo.dll read as files: exports, imports, resources and
// the embedded type library. The i686 DLL cannot run here, so it is only
// ever loaded as data.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleauto.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "com/resource_ids.h"

namespace vordo {
namespace {

struct Build {
  const char* variable;  // names the DLL's path
  WORD machine;
  VARTYPE bandType;      // LONG_PTR in the type library
};

const Build kBuilds[] = {{"VORDO_DLL_X86_64", IMAGE_FILE_MACHINE_AMD64, VT_I8},
                         {"VORDO_DLL_I686", IMAGE_FILE_MACHINE_I386, VT_I4}};

// Just enough of the PE format to list a DLL's exports and imports.
class PortableExecutable {
 public:
  explicit PortableExecutable(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (bytes_.size() < 0x40) return;
    size_t nt = U32(0x3C);
    if (U32(nt) != IMAGE_NT_SIGNATURE) return;
    machine_ = U16(nt + 4);
    size_t sections = U16(nt + 6);
    size_t optional = nt + 24;
    size_t optional_size = U16(nt + 20);
    bool pe32_plus = U16(optional) == IMAGE_NT_OPTIONAL_HDR64_MAGIC;
    size_t directories = optional + (pe32_plus ? 112 : 96);
    export_rva_ = U32(directories);
    import_rva_ = U32(directories + 8);
    for (size_t i = 0; i < sections; ++i) {
      size_t section = optional + optional_size + i * 40;
      sections_.push_back({U32(section + 12), U32(section + 8), U32(section + 20)});
    }
  }

  WORD machine() const { return machine_; }

  std::vector<std::string> Exports() const {
    std::vector<std::string> names;
    size_t directory = Offset(export_rva_);
    if (export_rva_ == 0) return names;
    size_t count = U32(directory + 24);
    size_t name_table = Offset(U32(directory + 32));
    for (size_t i = 0; i < count; ++i) names.push_back(String(Offset(U32(name_table + 4 * i))));
    return names;
  }

  std::vector<std::string> Imports() const {
    std::vector<std::string> names;
    if (import_rva_ == 0) return names;
    for (size_t entry = Offset(import_rva_); U32(entry + 12) != 0; entry += 20) {
      names.push_back(String(Offset(U32(entry + 12))));
    }
    return names;
  }

 private:
  struct Section {
    size_t address, size, raw;
  };
  size_t U16(size_t at) const { return at + 2 <= bytes_.size() ? static_cast<uint8_t>(bytes_[at]) | static_cast<uint8_t>(bytes_[at + 1]) << 8 : 0; }
  size_t U32(size_t at) const { return U16(at) | U16(at + 2) << 16; }
  size_t Offset(size_t rva) const {
    for (const Section& section : sections_) {
      if (rva >= section.address && rva < section.address + section.size) return rva - section.address + section.raw;
    }
    return bytes_.size();
  }
  std::string String(size_t at) const {
    std::string text;
    while (at < bytes_.size() && bytes_[at] != '\0') text += bytes_[at++];
    return text;
  }

  std::string bytes_;
  WORD machine_ = 0;
  size_t export_rva_ = 0, import_rva_ = 0;
  std::vector<Section> sections_;
};

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

class BinaryTest : public ::testing::TestWithParam<Build> {
 protected:
  void SetUp() override {
    const char* path = std::getenv(GetParam().variable);
    ASSERT_NE(path, nullptr) << GetParam().variable << " is not set";
    path_ = path;
    module_ = LoadLibraryExA(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module_, nullptr) << path_;
  }
  void TearDown() override {
    if (module_ != nullptr) FreeLibrary(module_);
  }

  std::string Resource(LPCSTR name, LPCSTR type) {
    HRSRC found = FindResourceA(module_, name, type);
    if (found == nullptr) return std::string();
    HGLOBAL loaded = LoadResource(module_, found);
    return std::string(static_cast<const char*>(LockResource(loaded)), SizeofResource(module_, found));
  }

  std::string path_;
  HMODULE module_ = nullptr;
};

TEST_P(BinaryTest, ExportsTheFourServerFunctionsAndImportsOnlySystemLibraries) {
  PortableExecutable image(path_);
  EXPECT_EQ(image.machine(), GetParam().machine);
  EXPECT_EQ(image.Exports(), (std::vector<std::string>{"DllCanUnloadNow", "DllGetClassObject",
                                                       "DllRegisterServer", "DllUnregisterServer"}));
  const std::set<std::string> system = {"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL", "ADVAPI32.DLL",
                                        "OLE32.DLL",    "OLEAUT32.DLL", "SHLWAPI.DLL", "MSVCRT.DLL",
                                        "WININET.DLL",  "COMCTL32.DLL"};
  std::vector<std::string> imports = image.Imports();
  EXPECT_FALSE(imports.empty());
  for (const std::string& name : imports) EXPECT_EQ(system.count(Upper(name)), 1u) << name;
}

TEST_P(BinaryTest, HoldsThePagesTheBannerImageAndTheIcon) {
  std::string help = Resource(MAKEINTRESOURCEA(VORDO_HELP_PAGE), MAKEINTRESOURCEA(VORDO_HTML_RESOURCE_TYPE));
  EXPECT_NE(help.find("charset=windows-1250"), std::string::npos);
  EXPECT_NE(help.find("<title>Vordo</title>"), std::string::npos);
  EXPECT_NE(help.find("N\xE1pov\xEC" "da"), std::string::npos);
  EXPECT_NE(help.find("Automatick\xE9 vyhled\xE1v\xE1n\xED"), std::string::npos);
  EXPECT_NE(help.find("slovn\xEDk; vordo; slovnik"), std::string::npos);
  std::string banner = Resource(MAKEINTRESOURCEA(VORDO_BANNER_PAGE), MAKEINTRESOURCEA(VORDO_HTML_RESOURCE_TYPE));
  EXPECT_NE(banner.find("Klikn\xECte&nbsp;sem..."), std::string::npos);
  EXPECT_NE(banner.find("target=\"_blank\""), std::string::npos);
  EXPECT_NE(banner.find("<img src=\"banner.png\" width=\"125\" height=\"125\" border=\"0\""), std::string::npos);
  std::string image = Resource("BANNER.PNG", MAKEINTRESOURCEA(VORDO_IMAGE_RESOURCE_TYPE));
  ASSERT_GT(image.size(), 24u);
  EXPECT_EQ(image.substr(0, 8), "\x89PNG\r\n\x1a\n");
  EXPECT_EQ(image.substr(16, 8), std::string("\0\0\0\x7D\0\0\0\x7D", 8));  // 125 x 125
  EXPECT_EQ(Resource("BANNER.PNG", MAKEINTRESOURCEA(VORDO_HTML_RESOURCE_TYPE)), image);  // res://.../banner.png
  EXPECT_FALSE(Resource(MAKEINTRESOURCEA(VORDO_BUTTON_ICON), RT_GROUP_ICON).empty());
}

// The type library's text of `id` in `library`, or its description.
std::wstring Documentation(ITypeInfo* info, MEMBERID id) {
  BSTR name = nullptr, help = nullptr;
  info->GetDocumentation(id, &name, &help, nullptr, nullptr);
  std::wstring text = std::wstring(name ? name : L"") + L"|" + (help ? help : L"");
  SysFreeString(name);
  SysFreeString(help);
  return text;
}

// The one type of the library that bears `name`, or null.
ITypeInfo* FindType(ITypeLib* library, const wchar_t* name) {
  ITypeInfo* info = nullptr;
  MEMBERID id;
  USHORT found = 1;
  std::wstring search = name;
  if (library->FindName(&search[0], 0, &info, &id, &found) != S_OK || found != 1) return nullptr;
  return info;
}

TEST_P(BinaryTest, EmbedsTheTypeLibraryAsDescribed) {
  std::string bytes = Resource(MAKEINTRESOURCEA(VORDO_TYPELIB_RESOURCE), "TYPELIB");
  ASSERT_FALSE(bytes.empty());
  char directory[MAX_PATH], file[MAX_PATH];
  GetTempPathA(MAX_PATH, directory);
  GetTempFileNameA(directory, "vtl", 0, file);
  std::ofstream(file, std::ios::binary) << bytes;
  std::wstring wide(file, file + std::strlen(file));
  ITypeLib* library = nullptr;
  ASSERT_EQ(LoadTypeLibEx(wide.c_str(), REGKIND_NONE, &library), S_OK);

  TLIBATTR* attributes = nullptr;
  library->GetLibAttr(&attributes);
  EXPECT_EQ(attributes->wMajorVerNum, 1);
  EXPECT_EQ(attributes->wMinorVerNum, 0);
  library->ReleaseTLibAttr(attributes);
  BSTR name = nullptr, help = nullptr;
  library->GetDocumentation(-1, &name, &help, nullptr, nullptr);
  EXPECT_EQ(std::wstring(name), L"VORDOLib");
  EXPECT_EQ(std::wstring(help), L"Vordo 1.0 Type Library");
  SysFreeString(name);
  SysFreeString(help);

  struct Expected {
    const wchar_t* name;
    const wchar_t* help;
    std::vector<std::wstring> members;  // "name|help|dispid|parameters"
  };
  const Expected interfaces[] = {
      {L"IDicBand", L"IDicBand Interface",
       {L"DocumentComplete|method DocumentComplete|259|piFrameDisp,pvUrl",
        L"DownloadComplete|method DownloadComplete|104|",
        L"BeforeNavigate2|method BeforeNavigate2|250|piFrameDisp,pvUrl,pvFlags,pvTargetFrame,pvPostData,pvHeaders,pCancel"}},
      {L"IEvtHandler", L"IEvtHandler Interface",
       {L"Default|method Default|0|", L"Setup|method Setup|1|piDisp,pBand"}},
      {L"IHandler", L"IHandler Interface", {}},
  };
  for (const Expected& expected : interfaces) {
    ITypeInfo* info = FindType(library, expected.name);
    ASSERT_NE(info, nullptr) << expected.name;
    TYPEATTR* type = nullptr;
    info->GetTypeAttr(&type);
    EXPECT_EQ(Documentation(info, MEMBERID_NIL), std::wstring(expected.name) + L"|" + expected.help);
    // The interface view of the dual interface, besides its dispatch view.
    ITypeInfo* dual = info;
    HREFTYPE reference;
    if (type->typekind == TKIND_DISPATCH && SUCCEEDED(info->GetRefTypeOfImplType(-1, &reference))) {
      info->GetRefTypeInfo(reference, &dual);
    }
    TYPEATTR* dual_type = nullptr;
    dual->GetTypeAttr(&dual_type);
    EXPECT_EQ(dual_type->typekind, TKIND_INTERFACE) << expected.name;
    EXPECT_TRUE(dual_type->wTypeFlags & TYPEFLAG_FDUAL) << expected.name;
    EXPECT_TRUE(dual_type->wTypeFlags & TYPEFLAG_FOLEAUTOMATION) << expected.name;
    EXPECT_TRUE(dual_type->wTypeFlags & TYPEFLAG_FNONEXTENSIBLE) << expected.name;
    std::vector<std::wstring> members;
    for (UINT i = 0; i < dual_type->cFuncs; ++i) {
      FUNCDESC* function = nullptr;
      dual->GetFuncDesc(i, &function);
      if (function->memid >= 0x60000000) {  // IUnknown and IDispatch
        dual->ReleaseFuncDesc(function);
        continue;
      }
      BSTR names[16];
      UINT count = 0;
      dual->GetNames(function->memid, names, 16, &count);
      std::wstring member = Documentation(dual, function->memid) + L"|" + std::to_wstring(function->memid) + L"|";
      for (UINT k = 1; k < count; ++k) member += (k > 1 ? L"," : L"") + std::wstring(names[k]);
      for (UINT k = 0; k < count; ++k) SysFreeString(names[k]);
      members.push_back(member);
      if (function->memid == 1) {
        EXPECT_EQ(function->lprgelemdescParam[1].tdesc.vt, GetParam().bandType);
      }
      dual->ReleaseFuncDesc(function);
    }
    EXPECT_EQ(members, expected.members) << expected.name;
    dual->ReleaseTypeAttr(dual_type);
    if (dual != info) dual->Release();
    info->ReleaseTypeAttr(type);
    info->Release();
  }

  const std::pair<const wchar_t*, const wchar_t*> classes[] = {
      {L"DicBand", L"Vordo"}, {L"EvtHandler", L"EvtHandler Class"}, {L"Handler", L"Handler Class"}};
  for (const auto& coclass : classes) {
    ITypeInfo* info = FindType(library, coclass.first);
    ASSERT_NE(info, nullptr) << coclass.first;
    TYPEATTR* type = nullptr;
    info->GetTypeAttr(&type);
    EXPECT_EQ(type->typekind, TKIND_COCLASS);
    EXPECT_TRUE(type->wTypeFlags & TYPEFLAG_FCANCREATE);
    INT flags = 0;
    info->GetImplTypeFlags(0, &flags);
    EXPECT_TRUE(flags & IMPLTYPEFLAG_FDEFAULT);
    EXPECT_EQ(Documentation(info, MEMBERID_NIL), std::wstring(coclass.first) + L"|" + coclass.second);
    info->ReleaseTypeAttr(type);
    info->Release();
  }
  library->Release();
  DeleteFileA(file);
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, BinaryTest, ::testing::ValuesIn(kBuilds),
                         [](const ::testing::TestParamInfo<Build>& info) {
                           return std::string(info.param.machine == IMAGE_FILE_MACHINE_I386 ? "i686" : "x86_64");
                         });

}  // namespace
}  // namespace vordo
