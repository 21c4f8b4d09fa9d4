// Reads the reference lists at start-up: the codes of additional seniority
// information from the List schema, and every other list from the classifier file.
// Each list is logged, read and added before the next one starts, so a fatal
// problem leaves the lists before it in place and the log says where it stopped.
#include <optional>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/platform.h"
#include "config/classifiers.h"
#include "xml/dom_document.h"

namespace morvel {
namespace {

const char kAddStagType[] = "КлассификаторДополнительныхСведенийИсчисленияСтажа";

class TClassifierReader {
 public:
  TClassifierReader(const std::filesystem::path& file, xmlNode* root) : fFile(PathToUtf8(file)), fRoot(root) {}

  // The first element of that name anywhere below the document element.
  xmlNode* Container(const char* name) const {
    xmlNode* node = DOMFirstDescendant(fRoot, name);
    if (node == nullptr) {
      throw EMorvelError("В файле классификаторов \"" + fFile + "\" нет элемента \"" + name + "\"");
    }
    return node;
  }

  std::string Required(const xmlNode* node, const char* attribute) const {
    std::optional<std::string> value = DOMAttribute(node, attribute);
    if (!value) {
      throw EMorvelError("В файле классификаторов \"" + fFile + "\" у элемента \"" + DOMNodeName(node) +
                         "\" (строка " + std::to_string(DOMLineNumber(node)) + ") нет атрибута \"" + attribute +
                         "\"");
    }
    return *value;
  }

  // ЛьготноеОснование;Код;ОснованиеВыслуги, with the permitted rate in front when
  // the rule names one.
  std::string PartTimeRule(const xmlNode* node, bool withRate) const {
    std::string entry = Required(node, "ЛьготноеОснование") + ";" + Required(node, "Код") + ";" +
                        Required(node, "ОснованиеВыслуги");
    if (withRate) {
      if (std::optional<std::string> rate = DOMAttribute(node, "ДопустимаяСтавка")) entry = *rate + ";" + entry;
    }
    return entry;
  }

 private:
  std::string fFile;
  xmlNode* fRoot;
};

std::vector<std::string> ReadAddStag(const std::filesystem::path& schemaFile) {
  xmlNode* root = nullptr;
  const TDOMDocument schema = LoadDOMDocument(schemaFile, root);
  if (root == nullptr) {
    throw EMorvelError("Не удалось загрузить схему Перечня \"" + PathToUtf8(schemaFile) + "\"");
  }
  std::optional<std::vector<std::string>> values = SchemaEnumerationValues(root, kAddStagType);
  if (!values) {
    throw EMorvelError("В схеме Перечня \"" + PathToUtf8(schemaFile) + "\" нет простого типа \"" +
                       std::string(kAddStagType) + "\"");
  }
  return std::move(*values);
}

// The groups of one replacement each: a group names the replaced basis in its
// first Льгота and the new one in its second. A group with fewer than two gives
// neither, so the two lists stay parallel.
std::vector<std::vector<xmlNode*>> ReplacementGroups(const TClassifierReader& reader) {
  std::vector<std::vector<xmlNode*>> groups;
  for (const xmlNode* group : DOMChildElements(reader.Container("СоответствиеОснованийЛьгот"), "ОдноименныеЛьготы")) {
    std::vector<xmlNode*> bases = DOMChildElements(group, "Льгота");
    if (bases.size() >= 2) groups.push_back(std::move(bases));
  }
  return groups;
}

}  // namespace

bool LoadClassifierFiles(TClassifiers& target, const std::filesystem::path& schemaFile,
                         const std::filesystem::path& classifierFile, const TClassifierLog& log) {
  const auto title = [&log](const char* text) {
    if (log) log(text);
  };

  title("*** Классификатор дополнительных сведений исчисления стажа");
  target.Add(TClassifierType::ctAddStag, ReadAddStag(schemaFile));

  xmlNode* root = nullptr;
  const TDOMDocument document = LoadDOMDocument(classifierFile, root);
  if (root == nullptr) return false;
  const TClassifierReader reader(classifierFile, root);
  std::vector<std::string> entries;

  title("*** Список льгот под ДТ");
  entries.clear();
  for (const xmlNode* basis :
       DOMChildElements(reader.Container("НеобходимостьПроставленияДополнительногоТарифа"), "Льгота")) {
    entries.push_back(reader.Required(basis, "Наименование"));
  }
  target.Add(TClassifierType::ctAddTariff, entries);

  title("*** Список дополнительных данных ИС");
  const std::vector<xmlNode*> periods = DOMChildElements(reader.Container("ОсобыеПериоды"), "Период");
  entries.clear();
  for (const xmlNode* period : periods) entries.push_back(reader.Required(period, "Наименование"));
  target.Add(TClassifierType::ctAddPdData, entries);

  title("*** Список дополнительных данных ИС в РСВ-1, специфичных для РСВ-1");
  entries.clear();
  for (const xmlNode* period : periods) {
    if (DOMAttribute(period, "рсв")) entries.push_back(reader.Required(period, "Наименование"));
  }
  target.Add(TClassifierType::ctAddPdDataRsv, entries);

  title("*** Обновление оснований льгот FROM");
  const std::vector<std::vector<xmlNode*>> groups = ReplacementGroups(reader);
  entries.clear();
  for (const std::vector<xmlNode*>& group : groups) entries.push_back(reader.Required(group[0], "Наименование"));
  target.Add(TClassifierType::ctReplaceFrom, entries);

  title("*** Обновление оснований льгот TO");
  entries.clear();
  for (const std::vector<xmlNode*>& group : groups) entries.push_back(reader.Required(group[1], "Наименование"));
  target.Add(TClassifierType::ctReplaceTo, entries);

  title("*** Ошибки неполной ставки");
  entries.clear();
  for (const xmlNode* rule : DOMChildElements(reader.Container("ОшибкиНеполнойСтавки"), "Ошибка")) {
    entries.push_back(reader.PartTimeRule(rule, true));
  }
  target.Add(TClassifierType::ctPartTimeError, entries);

  title("*** Предупреждения неполной ставки");
  entries.clear();
  for (const xmlNode* rule : DOMChildElements(reader.Container("ПредупрежденияНеполнойСтавки"), "Предупреждение")) {
    entries.push_back(reader.PartTimeRule(rule, false));
  }
  target.Add(TClassifierType::ctPartTimeWarning, entries);

  title("*** Даты начала действия кодов дополнительных сведений ИС");
  entries.clear();
  for (const xmlNode* period : periods) entries.push_back(reader.Required(period, "ДействуетС"));
  target.Add(TClassifierType::ctAddPdDataStartDates, entries);

  title("*** Даты окончания действия кодов дополнительных сведений ИС");
  entries.clear();
  for (const xmlNode* period : periods) entries.push_back(reader.Required(period, "ДействуетПо"));
  target.Add(TClassifierType::ctAddPdDataEndDates, entries);

  return true;
}

}  // namespace morvel
