// The XML document: loading from memory and files, saving, and the status of each failure.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "UiFiles.h"
#include "VTStringConv.h"
#include "VTXmlDocument.h"

using veltrano::VTXmlDocument;
namespace status = veltrano::status;

namespace {

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  FILE* file = _wfopen(path.c_str(), L"wb");
  ASSERT_NE(nullptr, file);
  fwrite(bytes.data(), 1, bytes.size(), file);
  fclose(file);
}

std::string ReadBytes(const std::wstring& path) {
  FILE* file = _wfopen(path.c_str(), L"rb");
  if (file == nullptr) return "<missing>";
  std::string bytes;
  char chunk[4096];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, n);
  fclose(file);
  return bytes;
}

const char kDocument[] =
    "<SelfExtractor FormatVersionMajor=\"2\">\n"
    "  <Title>  Driver &amp; Tools  </Title>\n"
    "</SelfExtractor>\n";

}  // namespace

TEST(XmlDocument, LoadBufferKeepsWhiteSpaceAndProcessesEntities) {
  VTXmlDocument xml;
  ASSERT_EQ(0u, xml.LoadBuffer(kDocument));
  const tinyxml2::XMLElement* root = xml.document.RootElement();
  ASSERT_NE(nullptr, root);
  EXPECT_STREQ("SelfExtractor", root->Name());
  EXPECT_STREQ("  Driver & Tools  ", root->FirstChildElement("Title")->GetText());
}

TEST(XmlDocument, EmptyOrMissingTextIsASyntaxError) {
  VTXmlDocument xml;
  EXPECT_EQ(status::kXmlSyntax, xml.LoadBuffer(""));
  EXPECT_EQ(tinyxml2::XML_ERROR_EMPTY_DOCUMENT, xml.document.ErrorID());
  EXPECT_EQ(status::kXmlSyntax, xml.LoadBuffer(nullptr));
  EXPECT_EQ(tinyxml2::XML_ERROR_EMPTY_DOCUMENT, xml.document.ErrorID());
}

TEST(XmlDocument, MalformedTextLeavesAnEmptyDocument) {
  VTXmlDocument xml;
  ASSERT_EQ(0u, xml.LoadBuffer(kDocument));
  EXPECT_EQ(status::kXmlSyntax, xml.LoadBuffer("<a><b></a>"));
  EXPECT_EQ(nullptr, xml.document.FirstChild());
  EXPECT_EQ(status::kXmlSyntax, xml.LoadBuffer("<a>\n<b>"));
  EXPECT_EQ(nullptr, xml.document.FirstChild());
}

TEST(XmlDocument, LoadBufferReplacesTheEarlierTree) {
  VTXmlDocument xml;
  ASSERT_EQ(0u, xml.LoadBuffer("<first/>"));
  ASSERT_EQ(0u, xml.LoadBuffer("<second/>"));
  EXPECT_STREQ("second", xml.document.RootElement()->Name());
  EXPECT_EQ(nullptr, xml.document.RootElement()->NextSibling());
}

TEST(XmlDocument, LoadFileReportsOpenAndParseFailuresApart) {
  uitest::ScratchFolder folder;
  VTXmlDocument xml;
  EXPECT_EQ(status::kFileOpenFailed, xml.LoadFile(folder.File(L"missing.xml").c_str()));
  WriteBytes(folder.File(L"bad.xml"), "<a>");
  EXPECT_EQ(status::kFileReadFailed, xml.LoadFile(folder.File(L"bad.xml").c_str()));
  WriteBytes(folder.File(L"empty.xml"), "");
  EXPECT_EQ(status::kFileReadFailed, xml.LoadFile(folder.File(L"empty.xml").c_str()));
  EXPECT_EQ(status::kFileOpenFailed, xml.LoadFile(nullptr));
}

TEST(XmlDocument, SaveFileWritesOneDeclarationAndRoundTrips) {
  uitest::ScratchFolder folder;
  const std::wstring first = folder.File(L"r\u00e9sum\u00e9.xml");  // a non-ASCII file name
  const std::wstring second = folder.File(L"second.xml");
  VTXmlDocument xml;
  ASSERT_EQ(0u, xml.LoadBuffer(kDocument));
  ASSERT_EQ(0u, xml.SaveFile(first.c_str()));
  const std::string saved = ReadBytes(first);
  EXPECT_EQ(0u, saved.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0)) << saved;

  VTXmlDocument reloaded;
  ASSERT_EQ(0u, reloaded.LoadFile(first.c_str()));
  EXPECT_STREQ("  Driver & Tools  ",
               reloaded.document.RootElement()->FirstChildElement("Title")->GetText());
  ASSERT_EQ(0u, reloaded.SaveFile(second.c_str()));
  EXPECT_EQ(saved, ReadBytes(second));  // the declaration is not doubled
  VTXmlDocument third;
  EXPECT_EQ(0u, third.LoadFile(second.c_str()));
}

TEST(XmlDocument, SaveIntoAMissingFolderFailsToOpen) {
  uitest::ScratchFolder folder;
  VTXmlDocument xml;
  ASSERT_EQ(0u, xml.LoadBuffer("<a/>"));
  EXPECT_EQ(status::kFileOpenFailed, xml.SaveFile(folder.File(L"no\\such\\x.xml").c_str()));
}
