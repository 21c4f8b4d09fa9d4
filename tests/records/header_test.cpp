// Recognition of the form and header, and the identification of a pack.

#include "records_fixture.h"

#include "base/encoding.h"
#include "base/error.h"
#include "base/text.h"

namespace morvel {
namespace {

using test::kRegNum;

class HeaderTest : public test::RecordsTest {
 protected:
  std::unique_ptr<TBaseData> Header(const std::string& file, int searchYear = 0, int searchPeriod = 0) {
    auto root = TreeOfFile(file);
    return TBaseData::TryGetBaseData(kRegNum, root.get(), searchYear, searchPeriod);
  }
  std::unique_ptr<TBaseData> HeaderOfText(const std::string& xml, int searchYear = 0, int searchPeriod = 0) {
    auto root = TreeOfText(xml);
    return TBaseData::TryGetBaseData(kRegNum, root.get(), searchYear, searchPeriod);
  }
  bool Logged(const std::string& line) const { return LogText().find(line) != std::string::npos; }
  bool LoggedError() const { return LogText().find("[ОШИБКА]") != std::string::npos; }
};

TEST_F(HeaderTest, PeriodCodesFollowTheFormsOfEachYear) {
  EXPECT_EQ(PeriodFromCode(1995, 0), -1);
  EXPECT_EQ(PeriodFromCode(1996, 3), 3);
  EXPECT_EQ(PeriodFromCode(1996, 0), -1);
  EXPECT_EQ(PeriodFromCode(1999, 2), 2);
  EXPECT_EQ(PeriodFromCode(2001, 5), 1);
  EXPECT_EQ(PeriodFromCode(2001, 9), 4);
  EXPECT_EQ(PeriodFromCode(2005, 0), 4);
  EXPECT_EQ(PeriodFromCode(2005, 1), -1);
  EXPECT_EQ(PeriodFromCode(2010, 1), 2);
  EXPECT_EQ(PeriodFromCode(2010, 2), 4);
  EXPECT_EQ(PeriodFromCode(2010, 3), -1);
  EXPECT_EQ(PeriodFromCode(2012, 3), 3);
  EXPECT_EQ(PeriodFromCode(2012, 5), -1);
  EXPECT_EQ(PeriodFromCode(2015, 6), 2);
  EXPECT_EQ(PeriodFromCode(2015, 4), -1);
  EXPECT_EQ(PeriodFromCode(2019, 0), 4);
  EXPECT_EQ(PeriodFromCode(2019, 3), -1);
}

TEST_F(HeaderTest, NewestStazhOfTheYear) {
  auto h = Header("szv-stazh-newest-2019.xml");
  ASSERT_TRUE(h);
  EXPECT_EQ(h->FPDType, TPDType::pdtSZVStag);
  EXPECT_EQ(h->FUtMode, TUtModeFormat::umfNewest);
  EXPECT_EQ(h->FUtDataType, TUtDataType::udtStagBase);
  EXPECT_EQ(h->FDataType, TUtDataType::udtBaseBase);
  EXPECT_FALSE(h->Correction);
  EXPECT_FALSE(h->IsCorr);
  EXPECT_EQ(h->Year, 2019);
  EXPECT_EQ(h->Period, 4);
  EXPECT_EQ(h->CorrYear, 2019);
  EXPECT_EQ(h->CorrPeriod, 4);
  EXPECT_TRUE(Logged("[ИНФО] "));
  EXPECT_TRUE(Logged(" ---РегистрационныйНомер=099-001-000123\r\n"));
  EXPECT_TRUE(Logged(" ---ТипСведений=Исходная\r\n"));
  EXPECT_TRUE(Logged(" ---ОтчетныйПериодГод=2019\r\n"));
  EXPECT_TRUE(Logged(" ---ОтчетныйПериодКвартал=0\r\n"));
  EXPECT_FALSE(LoggedError());
}

TEST_F(HeaderTest, EditionsByNamespaceDeclarations) {
  struct Case {
    const char* file;
    TUtModeFormat mode;
  };
  for (const Case& c : {Case{"szv-stazh-old-2017.xml", TUtModeFormat::umfOld},
                        Case{"szv-stazh-new-2018.xml", TUtModeFormat::umfNew},
                        Case{"szv-stazh-newest-2019.xml", TUtModeFormat::umfNewest},
                        Case{"szv-stazh-redhot-2022-add.xml", TUtModeFormat::umfRedHot}}) {
    auto h = Header(c.file);
    ASSERT_TRUE(h) << c.file;
    EXPECT_EQ(h->FUtMode, c.mode) << c.file;
  }
  // A root of the 2017 forms without any of the declarations is not read.
  EXPECT_FALSE(Header("edjuv-no-namespaces.xml"));
  EXPECT_TRUE(Logged("[ОШИБКА] "));
  EXPECT_TRUE(Logged(" Не удалось распознать подвид формата ИС, действующего с 2017 года\r\n"));
}

TEST_F(HeaderTest, KindsOfInformationOfTheStazh) {
  // Тип 1 completes the year: a correction of the year itself.
  auto add = Header("szv-stazh-redhot-2022-add.xml");
  ASSERT_TRUE(add);
  EXPECT_EQ(add->FUtDataType, TUtDataType::udtStagAdd);
  EXPECT_TRUE(add->Correction);
  EXPECT_EQ(add->CorrYear, 2022);
  EXPECT_EQ(add->CorrPeriod, 4);
  EXPECT_TRUE(Logged(" ---ТипСведений=Дополняющая\r\n"));
  EXPECT_TRUE(Logged(" ---КорректируемыйОтчетныйПериодГод=2022\r\n"));

  // Тип 2, for the award of a pension, is not read.
  EXPECT_FALSE(Header("szv-stazh-type-2.xml"));
  EXPECT_TRUE(Logged("[ОШИБКА] "));
  EXPECT_TRUE(Logged(" Тип формы документа не поддерживается\r\n"));

  // A code that means nothing after 2016.
  std::string xml = test::StazhDocument({});
  const std::string code = "<Код>0</Код>";
  xml.replace(xml.find(code), code.size(), "<Код>3</Код>");
  EXPECT_FALSE(HeaderOfText(xml));
}

TEST_F(HeaderTest, CorrectionAndOriginalOf2017) {
  auto korr = Header("szv-korr-newest-2019.xml");
  ASSERT_TRUE(korr);
  EXPECT_EQ(korr->FPDType, TPDType::pdtSZVCorr);
  EXPECT_EQ(korr->FUtDataType, TUtDataType::udtCorrCorr);
  EXPECT_TRUE(korr->Correction);
  EXPECT_EQ(korr->Year, 2020);
  EXPECT_EQ(korr->Period, 4);
  EXPECT_EQ(korr->CorrYear, 2019);
  EXPECT_EQ(korr->CorrPeriod, 4);

  auto ish = Header("szv-ish-new-2015.xml");
  ASSERT_TRUE(ish);
  EXPECT_EQ(ish->FPDType, TPDType::pdtSZVBase);
  EXPECT_EQ(ish->FUtMode, TUtModeFormat::umfNew);
  EXPECT_EQ(ish->FUtDataType, TUtDataType::udtBaseBase);
  EXPECT_FALSE(ish->Correction);
  EXPECT_EQ(ish->Year, 2015);
  EXPECT_EQ(ish->Period, 4);
}

TEST_F(HeaderTest, FormsBefore2017) {
  struct Case {
    const char* file;
    TPDType type;
    int year, period;
  };
  for (const Case& c : {Case{"szv-6-1-2012.xml", TPDType::pdtSZV61, 2012, 4},
                        Case{"spv-1-2013.xml", TPDType::pdtSPV1, 2013, 3},
                        Case{"szv-6-4-2013.xml", TPDType::pdtSZV64, 2013, 4},
                        Case{"rsv-1-2015.xml", TPDType::pdtRSV1, 2015, 3},
                        Case{"spv-2-2014.xml", TPDType::pdtSPV2, 2014, 4}}) {
    auto h = Header(c.file);
    ASSERT_TRUE(h) << c.file;
    EXPECT_EQ(h->FPDType, c.type) << c.file;
    EXPECT_EQ(h->FUtMode, TUtModeFormat::umfNone) << c.file;
    EXPECT_EQ(h->Year, c.year) << c.file;
    EXPECT_EQ(h->Period, c.period) << c.file;
    EXPECT_EQ(h->CorrPeriod, c.period) << c.file;
    EXPECT_FALSE(h->Correction) << c.file;
    const bool categorised = c.type != TPDType::pdtRSV1 && c.type != TPDType::pdtSPV2;
    EXPECT_EQ(h->FCategoryCode, categorised ? "НР" : "") << c.file;
    EXPECT_EQ(h->FContractType, c.type == TPDType::pdtSZV64 ? "ТРУДОВОЙ" : "") << c.file;
  }
  EXPECT_TRUE(Logged(" ---ВидФормы=СПВ-1\r\n"));
  EXPECT_TRUE(Logged(" ---ТипДоговора=ТРУДОВОЙ\r\n"));

  // A corrective СЗВ-6-2 of 2011 for the second half of 2010.
  auto corr = Header("szv-6-2-2011-corr.xml");
  ASSERT_TRUE(corr);
  EXPECT_EQ(corr->FPDType, TPDType::pdtSZV62);
  EXPECT_TRUE(corr->Correction);
  EXPECT_EQ(corr->Year, 2011);
  EXPECT_EQ(corr->Period, 2);
  EXPECT_EQ(corr->CorrYear, 2010);
  EXPECT_EQ(corr->CorrPeriod, 4);
}

TEST_F(HeaderTest, RefusalsOfTheFormsBefore2017ComeWithoutAnErrorLine) {
  EXPECT_FALSE(Header("szv-6-4-2012.xml"));  // СЗВ-6-4 only from 2013
  EXPECT_FALSE(Header("rsv-1-2013.xml"));    // РСВ-1 only from 2014
  EXPECT_FALSE(Header("szv-6-4-no-contract.xml"));
  EXPECT_TRUE(Logged(" ---ТипДоговора=\r\n"));
  EXPECT_FALSE(Header("szv-6-1-cancelling.xml"));
  EXPECT_TRUE(Logged(" ---ТипСведений=ОТМЕНЯЮЩАЯ\r\n"));
  EXPECT_FALSE(LoggedError());
}

TEST_F(HeaderTest, RegistrationNumberOfAnotherEmployer) {
  EXPECT_FALSE(Header("szv-stazh-foreign.xml"));
  EXPECT_TRUE(Logged(" Регистрационный номер \"099-002-000456\" не совпадает с требуемым(\"099-001-000123\")\r\n"));

  std::string xml = test::StazhDocument({});
  const std::string tag = "УТ2:РегНомер";
  for (std::size_t at; (at = xml.find(tag)) != std::string::npos;) xml.replace(at, tag.size(), "УТ2:ИНН");
  EXPECT_FALSE(HeaderOfText(xml));
  EXPECT_TRUE(Logged(" Не указан регистрационный номер\r\n"));
}

TEST_F(HeaderTest, NoDocumentAtAll) {
  auto root = TreeOfFile("no-root.xml");
  EXPECT_FALSE(root);
  EXPECT_FALSE(TBaseData::TryGetBaseData(kRegNum, root.get(), 0, 0));
  EXPECT_TRUE(Logged("[ОШИБКА] "));
  EXPECT_TRUE(Logged(" Не удалось прочитать файл XML\r\n"));
}

TEST_F(HeaderTest, EfsHeaderHasNoPeriodsOfItsOwn) {
  auto h = Header("efs-1-2023.xml");
  ASSERT_TRUE(h);
  EXPECT_EQ(h->FPDType, TPDType::pdtEFS1);
  EXPECT_EQ(h->FUtMode, TUtModeFormat::umfRedHot);
  EXPECT_EQ(h->FUtDataType, TUtDataType::udtBaseBase);
  EXPECT_FALSE(h->Correction);
  EXPECT_EQ(h->Year + h->Period + h->CorrYear + h->CorrPeriod, 0);
  EXPECT_TRUE(Header("efs-1-2023.xml", 2024));
  EXPECT_FALSE(Header("efs-1-2023.xml", 2022));  // before the form existed
}

TEST_F(HeaderTest, YearAndPeriodFilters) {
  EXPECT_TRUE(Header("szv-stazh-newest-2019.xml", 2019, 4));
  EXPECT_FALSE(Header("szv-stazh-newest-2019.xml", 2018));
  EXPECT_FALSE(Header("szv-stazh-newest-2019.xml", 2019, 2));
  // With the period alone, the corrected period counts as well.
  EXPECT_TRUE(Header("szv-6-2-2011-corr.xml", 0, 4));
  EXPECT_TRUE(Header("szv-6-2-2011-corr.xml", 0, 2));
  EXPECT_FALSE(Header("szv-6-2-2011-corr.xml", 0, 3));
  EXPECT_FALSE(Header("szv-6-2-2011-corr.xml", 2011, 4));
}

// ---- Identification of the pack ----------------------------------------------------

class PackDataTest : public test::RecordsTest {
 protected:
  // The pack of a file, or none with the messages in `errors`.
  std::unique_ptr<TPack> Pack(const std::string& file, TProtocolMessageList& errors) {
    root = TreeOfFile(file);
    header = TBaseData::TryGetBaseData(kRegNum, root.get(), 0, 0);
    if (!header) {
      ADD_FAILURE() << file << " not recognised";
      return nullptr;
    }
    const TPDType form = header->FPDType;
    return TPack::TryGetPackData(root.get(), form, errors, header, "/in/" + file);
  }

  TMyTree root;
  std::unique_ptr<TBaseData> header;
};

TEST_F(PackDataTest, IdentificationOfThe2017Forms) {
  TProtocolMessageList errors;
  auto pack = Pack("broken-persons.xml", errors);
  ASSERT_TRUE(pack);
  EXPECT_TRUE(errors.empty());
  EXPECT_FALSE(header);  // taken over by the pack
  ASSERT_TRUE(pack->BaseData);
  EXPECT_EQ(pack->BaseData->FPDType, TPDType::pdtSZVStag);
  EXPECT_EQ(pack->FPackNum, "5d1c2e3f-0a1b-4c2d-9e8f-112233445566");
  EXPECT_EQ(pack->FPackDate, "2020-02-14");  // the day of the date and time
  EXPECT_EQ(pack->FOrgName, "МУП \"Водоканал\" & партнёры");
  EXPECT_EQ(pack->FShortOrgName, pack->FOrgName);
  EXPECT_EQ(pack->FileName, "/in/broken-persons.xml");
  EXPECT_EQ(pack->GetPackDateAsDate(), EncodeDate(2020, 2, 14));
  EXPECT_EQ(pack->FLgotWorkerCount, 0);
  EXPECT_TRUE(pack->Workers.empty());
  for (TTableResult* table : {static_cast<TTableResult*>(pack->AddPdDataWarnings.get()),
                              static_cast<TTableResult*>(pack->PDRKWarnings.get()),
                              static_cast<TTableResult*>(pack->JumpWarnings.get())}) {
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->Count(), 0);
  }
}

TEST_F(PackDataTest, IdentificationOfTheFormsBefore2017) {
  TProtocolMessageList errors;
  auto pack = Pack("szv-6-1-subdivision.xml", errors);
  ASSERT_TRUE(pack);
  EXPECT_EQ(pack->FPackNum, "12/3");
  EXPECT_EQ(pack->FPackDate, "20.01.2013");
  // Dates of these forms are read as they write them.
  EXPECT_EQ(pack->GetPackDateAsDate(), EncodeDate(2013, 1, 20));
  EXPECT_NE(pack->FOrgName.find("Общество с ограниченной ответственностью"), std::string::npos);
  EXPECT_EQ(pack->FShortOrgName.rfind("ООО \"Северный комбинат", 0), 0u);

  auto other = Pack("szv-6-1-2012.xml", errors);
  ASSERT_TRUE(other);
  EXPECT_EQ(other->FPackNum, "00011");
  EXPECT_TRUE(errors.empty());
}

TEST_F(PackDataTest, PackDocumentsDirectlyUnderTheRootAreReadToo) {
  // The fund's files wrap the documents in ПачкаВходящихДокументов; files without
  // that level are read the same way.
  std::string xml = Cp1251ToUtf8(test::ReadFile(test::TestData("packs/szv-6-1-2012.xml")));
  xml = ReplaceAll(xml, "<ПачкаВходящихДокументов Окружение=\"В составе файла\" Стадия=\"До обработки\">\n", "");
  xml = ReplaceAll(xml, "</ПачкаВходящихДокументов>\n", "");
  xml = ReplaceAll(xml, "encoding=\"windows-1251\"", "encoding=\"UTF-8\"");
  ASSERT_EQ(xml.find("ПачкаВходящихДокументов"), std::string::npos);
  TRead read = ReadXml(xml);
  ASSERT_TRUE(read.pack);
  EXPECT_EQ(read.pack->FPackNum, "00011");
  EXPECT_EQ(read.pack->Workers.size(), 6u);
}

TEST_F(PackDataTest, LaterFormsTakeTheServiceElementOnlyFromUnderTheRoot) {
  // A СЗВ-СТАЖ keeps СлужебнаяИнформация directly under the root; one wrapped
  // deeper belongs to something else and does not identify the pack.
  std::string xml = test::ReadFile(test::TestData("packs/szv-stazh-newest-2019.xml"));
  ASSERT_TRUE(ReadXml(xml).pack);
  xml = ReplaceAll(xml, " <СлужебнаяИнформация>\n", " <Вложение><СлужебнаяИнформация>\n");
  xml = ReplaceAll(xml, " </СлужебнаяИнформация>\n", " </СлужебнаяИнформация></Вложение>\n");
  TRead read = ReadXml(xml);
  EXPECT_FALSE(read.pack);
}

TEST_F(PackDataTest, EfsIdentification) {
  TProtocolMessageList errors;
  auto pack = Pack("efs-1-2023.xml", errors);
  ASSERT_TRUE(pack);
  EXPECT_EQ(pack->FPackDate, "2024-01-20");
  EXPECT_EQ(pack->FPackNum.size(), 36u);
  EXPECT_EQ(pack->FOrgName.rfind("ООО \"Северный комбинат", 0), 0u);
}

TEST_F(PackDataTest, MissingPartsAreReportedAndTheHeaderStaysWithTheCaller) {
  struct Case {
    const char* file;
    const char* message;  // empty: refused without a message
  };
  for (const Case& c : {Case{"missing-date.xml", "Отсутствует тег &lt;АФ4:ДатаВремя&gt;"},
                        Case{"empty-date.xml", "Значение тега &lt;АФ4:ДатаВремя&gt; не указано"},
                        Case{"missing-guid.xml", "Отсутствует тег &lt;АФ4:GUID&gt;"},
                        Case{"empty-guid.xml", "GUID документа не указан"},
                        Case{"missing-employer.xml", "Отсутствует тег &lt;Страхователь&gt;"},
                        Case{"szv-6-1-no-number.xml", "Номер пачки не указан"},
                        Case{"szv-6-1-no-composer.xml", "Отсутствует тег &lt;СоставительПачки&gt;"},
                        Case{"missing-service.xml", ""}}) {
    TProtocolMessageList errors;
    EXPECT_FALSE(Pack(c.file, errors)) << c.file;
    EXPECT_TRUE(header) << c.file;
    if (*c.message == 0) {
      EXPECT_TRUE(errors.empty()) << c.file;
    } else {
      ASSERT_EQ(errors.size(), 1u) << c.file;
      EXPECT_EQ(errors[0]->FMessage, c.message);
      EXPECT_TRUE(errors[0]->IsError);
    }
  }
}

TEST_F(PackDataTest, PackDatesThatAreNoDates) {
  TPack pack;
  pack.BaseData = std::make_unique<TBaseData>();
  pack.BaseData->FPDType = TPDType::pdtSZVStag;
  pack.BaseData->FUtMode = TUtModeFormat::umfNew;
  pack.FPackDate = "14.02.2020";  // not the form of these packs
  TDate date = 0;
  EXPECT_FALSE(pack.TryGetPackDateAsDate(date));
  EXPECT_THROW(pack.GetPackDateAsDate(), EConvertError);
  pack.FPackDate = "2020-02-30";
  EXPECT_THROW(pack.GetPackDateAsDate(), EConvertError);
}

TEST_F(PackDataTest, PackOfOneYearOfAnEfsPack) {
  TProtocolMessageList errors;
  auto pack = Pack("efs-1-2023.xml", errors);
  ASSERT_TRUE(pack);
  pack->ReadWorkers(root.get(), 0);
  ASSERT_FALSE(pack->Workers.empty());
  const TPeriodically year(2024, 2023, true);
  TPack part(*pack, year);
  ASSERT_TRUE(part.BaseData);
  EXPECT_EQ(part.BaseData->Year, 2024);
  EXPECT_EQ(part.BaseData->CorrYear, 2023);
  EXPECT_EQ(part.BaseData->FPDType, TPDType::pdtEFS1);
  EXPECT_EQ(part.FPackNum, pack->FPackNum);
  EXPECT_EQ(part.FPackDate, pack->FPackDate);
  EXPECT_EQ(part.FOrgName, pack->FOrgName);
  EXPECT_EQ(part.FileName, pack->FileName);
  EXPECT_TRUE(part.Workers.empty());
  EXPECT_EQ(part.FLgotWorkerCount, 0);
  EXPECT_FALSE(part.HasLgot);
  EXPECT_EQ(part.AddPdDataWarnings->Count(), 0);
}

}  // namespace
}  // namespace morvel
