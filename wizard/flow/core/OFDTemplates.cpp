#include "wizard/flow/core/OFDTemplates.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>

#include "common/Translate.h"

namespace zel {

const char* const kNoTemplateCaption = "--Выбрать шаблон--";

namespace {

const char* const kRoot = "OFDParams";
const char* const kPreferred = "ЯРУС (ОФД-Я)";

// Element names in document order and the field each holds.
struct TElement {
  const char* name;
  std::string TOFDFields::*field;
};
constexpr TElement kElements[] = {
    {"OFDServer", &TOFDFields::OFDServer}, {"OFDPort", &TOFDFields::OFDPort},
    {"OFDName", &TOFDFields::OFDName},     {"OFDUrl", &TOFDFields::OFDUrl},
    {"INNOFD", &TOFDFields::INNOFD},       {"TaxOfficeURL", &TOFDFields::TaxOfficeURL},
    {"ServerKM", &TOFDFields::ServerKM},   {"PortKM", &TOFDFields::PortKM},
    {"SenderEmail", &TOFDFields::SenderEmail},
};

struct TDefaultTemplate {
  const char* name;
  TOFDFields fields;
};
const TDefaultTemplate kDefaults[] = {
    {kPreferred,
     {"gate.ofd-yarus.example", "7790", "ООО \"ЯРУС\"", "ofd-yarus.example", "7701234560", kDefaultTaxOfficeURL,
      "km.ofd-yarus.example", "7791", "noreply@ofd-yarus.example"}},
    {"ОФД Восток",
     {"kkt.ofd-vostok.example", "21101", "АО \"ОФД Восток\"", "ofd-vostok.example", "7604123456",
      kDefaultTaxOfficeURL, "km.ofd-vostok.example", "21102", "check@ofd-vostok.example"}},
};

QString Q(const std::string& s) { return QString::fromStdString(s); }

std::string Message(const char* msgid, const std::string& path, const QString& detail) {
  return Tr(msgid) + path + (detail.isEmpty() ? std::string() : ": " + detail.toStdString());
}

}  // namespace

std::string TemplateFolder() {
  QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  return QDir(base).filePath("Veltrona/Tamarex/Templates").toStdString();
}

std::string EnsureTemplateFolder(const std::string& folder) {
  if (QDir(Q(folder)).exists()) return folder;
  if (!QDir().mkpath(Q(folder))) throw ETemplateFile(Message("Не удается создать папку ", folder, {}));
  InstallDefaultTemplates(folder);
  return folder;
}

void InstallDefaultTemplates(const std::string& folder) {
  for (const auto& d : kDefaults) {
    const std::string path = QDir(Q(folder)).filePath(QString::fromUtf8(d.name) + ".xml").toStdString();
    if (!QFileInfo::exists(Q(path))) SaveTemplate(path, d.fields);
  }
}

std::vector<std::string> ListTemplates(const std::string& folder) {
  const QFileInfoList files =
      QDir(Q(folder)).entryInfoList({"*.xml"}, QDir::Files | QDir::Readable, QDir::Name);
  std::vector<std::string> out;
  for (const QFileInfo& f : files) out.push_back(f.absoluteFilePath().toStdString());
  auto last = std::find_if(out.rbegin(), out.rend(), [](const std::string& p) {
    return p.find(kPreferred) != std::string::npos;
  });
  if (last != out.rend()) std::rotate(out.begin(), std::prev(last.base()), last.base());
  return out;
}

std::string TemplateCaption(const std::string& path) { return QFileInfo(Q(path)).completeBaseName().toStdString(); }

TOFDFields LoadTemplate(const std::string& path, const TOFDFields& current) {
  QFile file(Q(path));
  if (!file.open(QIODevice::ReadOnly))
    throw ETemplateFile(Message("Не удается открыть файл ", path, file.errorString()));
  QDomDocument doc;
  QString error;
  int line = 0, column = 0;
  if (!doc.setContent(&file, &error, &line, &column))
    throw ETemplateFile(Message("Ошибка XML в файле ", path,
                                QString("%1 (%2:%3)").arg(error).arg(line).arg(column)));
  QDomElement root = doc.documentElement();
  if (root.tagName() != kRoot) root = doc.elementsByTagName(kRoot).item(0).toElement();
  if (root.isNull()) return current;
  TOFDFields out;
  for (const auto& e : kElements) out.*e.field = root.firstChildElement(e.name).text().toStdString();
  return out;
}

void SaveTemplate(const std::string& path, const TOFDFields& fields) {
  QDomDocument doc;
  doc.appendChild(doc.createProcessingInstruction("xml", R"(version="1.0" encoding="UTF-8")"));
  QDomElement root = doc.createElement(kRoot);
  doc.appendChild(root);
  for (const auto& e : kElements) {
    QDomElement el = doc.createElement(e.name);
    el.appendChild(doc.createTextNode(Q(fields.*e.field)));
    root.appendChild(el);
  }
  QSaveFile file(Q(path));
  if (!file.open(QIODevice::WriteOnly))
    throw ETemplateFile(Message("Не удается записать файл ", path, file.errorString()));
  file.write(doc.toByteArray(2));
  if (!file.commit()) throw ETemplateFile(Message("Не удается записать файл ", path, file.errorString()));
}

}  // namespace zel
