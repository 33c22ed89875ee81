// The third-party libraries as the build compiles them: 7-Zip's registry holds the 7z format
// and every decoder the stub needs, and TinyXML reads a document.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "Common/Common.h"
#include "Common/MyCom.h"
#include "7zip/Common/RegisterCodec.h"
#include "7zip/UI/Common/LoadCodecs.h"
#include "tinyxml.h"

extern unsigned g_NumCodecs;
extern const CCodecInfo* g_Codecs[];

TEST(SevenZipLibrary, RegistryHoldsThe7zFormat) {
  CCodecs* codecs = new CCodecs;
  CMyComPtr<IUnknown> holder = codecs;
  ASSERT_EQ(S_OK, codecs->Load());
  ASSERT_EQ(1u, codecs->Formats.Size());
  EXPECT_EQ(std::wstring(L"7z"), std::wstring(codecs->Formats[0].Name));
}

TEST(SevenZipLibrary, EveryNeededDecoderIsRegistered) {
  std::set<std::string> names;
  for (unsigned i = 0; i < g_NumCodecs; ++i) {
    if (g_Codecs[i]->CreateDecoder != nullptr) names.insert(g_Codecs[i]->Name);
  }
  for (const char* needed :
       {"LZMA", "LZMA2", "PPMD", "BCJ", "BCJ2", "Delta", "Swap2", "Swap4", "Copy", "7zAES"}) {
    EXPECT_EQ(1u, names.count(needed)) << needed;
  }
}

TEST(TinyXml, ReadsElementsAndAttributes) {
  TiXmlDocument document;
  document.Parse("<AppConfig FormatVersionMajor=\"1\"><StartWindow>simple</StartWindow></AppConfig>");
  ASSERT_FALSE(document.Error()) << document.ErrorDesc();
  const TiXmlElement* root = document.RootElement();
  ASSERT_NE(nullptr, root);
  EXPECT_STREQ("1", root->Attribute("FormatVersionMajor"));
  EXPECT_STREQ("simple", root->FirstChildElement("StartWindow")->GetText());
}
