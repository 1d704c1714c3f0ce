#include "emulator/model/StateFile.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "emulator/model/TableDefs.h"

namespace zel::emu {
namespace {

constexpr const char* kHeader = "zelvox-emu-state 1";

std::string Escape(const std::string& s) {
  if (s.empty()) return "\\-";
  std::string out;
  for (char c : s) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case ' ': out += "\\s"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Unescape(const std::string& s) {
  if (s == "\\-") return {};
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\') {
      out += s[i];
      continue;
    }
    if (++i == s.size()) throw std::runtime_error("text ends in a lone backslash");
    switch (s[i]) {
      case '\\': out += '\\'; break;
      case 's': out += ' '; break;
      case 't': out += '\t'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      default: throw std::runtime_error(std::string("unknown escape \\") + s[i]);
    }
  }
  return out;
}

std::int64_t Num(const std::string& s) {
  std::size_t used = 0;
  std::int64_t v = 0;
  try {
    v = std::stoll(s, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != s.size() || s.empty()) throw std::runtime_error("not a number: " + s);
  return v;
}

class TWriter {
 public:
  template <class... A>
  void Line(const std::string& key, const A&... tokens) {
    out_ << key;
    ((out_ << ' ' << Token(tokens)), ...);
    out_ << '\n';
  }
  std::string Text() const { return out_.str(); }

 private:
  static std::string Token(const std::string& s) { return Escape(s); }
  static std::string Token(const char* s) { return Escape(s); }
  static std::string Token(bool b) { return b ? "1" : "0"; }
  template <class N>
  static std::string Token(N n) {
    return std::to_string(n);
  }
  std::ostringstream out_;
};

// Scalars of the identity and the storage, by name, both ways.
struct TScalar {
  const char* key;
  std::function<std::string(const TDeviceState&)> get;
  std::function<void(TDeviceState&, const std::string&)> set;
};

template <class T>
TScalar Str(const char* key, T TDeviceState::*part, std::string T::*m) {
  return {key, [=](const TDeviceState& s) { return s.*part.*m; }, [=](TDeviceState& s, const std::string& v) { s.*part.*m = v; }};
}
template <class T, class N>
TScalar Int(const char* key, T TDeviceState::*part, N T::*m) {
  return {key, [=](const TDeviceState& s) { return std::to_string(s.*part.*m); },
          [=](TDeviceState& s, const std::string& v) { s.*part.*m = static_cast<N>(Num(v)); }};
}

const std::vector<TScalar>& Scalars() {
  using S = TDeviceState;
  static const std::vector<TScalar> rows = {
      Int("id.modelId", &S::identity, &TIdentity::modelId),
      Str("id.description", &S::identity, &TIdentity::description),
      Int("id.majorType", &S::identity, &TIdentity::majorType),
      Int("id.minorType", &S::identity, &TIdentity::minorType),
      Int("id.majorProtocol", &S::identity, &TIdentity::majorProtocol),
      Int("id.minorProtocol", &S::identity, &TIdentity::minorProtocol),
      Int("id.codePage", &S::identity, &TIdentity::codePage),
      Str("id.firmwareVersion", &S::identity, &TIdentity::firmwareVersion),
      Int("id.firmwareBuild", &S::identity, &TIdentity::firmwareBuild),
      Str("id.firmwareDate", &S::identity, &TIdentity::firmwareDate),
      Str("id.fmVersion", &S::identity, &TIdentity::fmVersion),
      Int("id.fmBuild", &S::identity, &TIdentity::fmBuild),
      Str("id.fmDate", &S::identity, &TIdentity::fmDate),
      Int("id.cashCore", &S::identity, &TIdentity::cashCore),
      Int("id.cutter", &S::identity, &TIdentity::cutter),
      Str("id.serial", &S::identity, &TIdentity::serial),
      Str("fn.serial", &S::fn, &TFiscalStorage::serial),
      Str("fn.version", &S::fn, &TFiscalStorage::version),
      Int("fn.softType", &S::fn, &TFiscalStorage::softType),
      Int("fn.phase", &S::fn, &TFiscalStorage::phase),
      Int("fn.openDocument", &S::fn, &TFiscalStorage::openDocument),
      Int("fn.reportType", &S::fn, &TFiscalStorage::reportType),
      Int("fn.sessionOpen", &S::fn, &TFiscalStorage::sessionOpen),
      Int("fn.sessionNumber", &S::fn, &TFiscalStorage::sessionNumber),
      Int("fn.receiptNumber", &S::fn, &TFiscalStorage::receiptNumber),
      Int("fn.sessionOpenTime", &S::fn, &TFiscalStorage::sessionOpenTime),
      Int("fn.expiry", &S::fn, &TFiscalStorage::expiry),
      Int("fn.registrationsLeft", &S::fn, &TFiscalStorage::registrationsLeft),
  };
  return rows;
}

}  // namespace

std::string SaveStateText(const TDeviceState& s) {
  TWriter w;
  for (const auto& row : Scalars()) w.Line(row.key, row.get(s));
  w.Line("clock", s.clockOffset);
  for (const auto& [t, rows] : s.tables)
    for (const auto& [r, fields] : rows)
      for (const auto& [f, v] : fields)
        if (v != DefaultCell(t, r, f)) w.Line("cell", t, r, f, v);
  for (std::size_t i = 0; i < s.cashRegisters.size(); ++i)
    if (s.cashRegisters[i]) w.Line("cash", i, s.cashRegisters[i]);
  for (std::size_t i = 0; i < s.operationRegisters.size(); ++i)
    if (s.operationRegisters[i]) w.Line("oper", i, s.operationRegisters[i]);
  for (const auto& d : s.fn.documents) {
    w.Line("doc", d.number, d.type, d.time, d.fiscalSign, d.shift, d.operationType, d.sum, d.acknowledged, d.inn, d.rnm,
           d.ofdInn, d.taxType, d.workMode, d.workModeEx, d.reason, d.reasonEx);
    for (const auto& [tag, v] : d.tags) w.Line("doctag", d.number, tag, v);
  }
  for (const auto& [tag, v] : s.fn.pendingTags) w.Line("pendtag", tag, v);
  w.Line("receipt", s.receipt.open, s.receipt.type, s.receipt.operatorNumber, s.receipt.total);
  w.Line("okpkeys", s.okpKeysUpdated);
  return std::string(kHeader) + "\n" + w.Text();
}

TDeviceState LoadStateText(const std::string& text) {
  TDeviceState s;
  s.tables.clear();
  std::istringstream in(text);
  std::string line;
  int number = 0;
  auto fail = [&number](const std::string& why) {
    throw std::runtime_error("state line " + std::to_string(number) + ": " + why);
  };
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (number == 1) {
      if (line != kHeader) fail("not a virtual register state file");
      continue;
    }
    if (line.empty()) continue;
    std::vector<std::string> t;
    std::istringstream ls(line);
    for (std::string tok; ls >> tok;) t.push_back(tok);
    const std::string& key = t[0];
    auto need = [&](std::size_t n) {
      if (t.size() != n + 1) fail(key + " takes " + std::to_string(n) + " values");
    };
    try {
      bool scalar = false;
      for (const auto& row : Scalars())
        if (key == row.key) {
          need(1);
          row.set(s, Unescape(t[1]));
          scalar = true;
        }
      if (scalar) continue;
      if (key == "clock") {
        need(1);
        s.clockOffset = Num(t[1]);
      } else if (key == "cell") {
        need(4);
        const int tb = static_cast<int>(Num(t[1])), r = static_cast<int>(Num(t[2])), f = static_cast<int>(Num(t[3]));
        const TTableDef* def = FindTable(tb);
        if (!def || r < 1 || r > def->rows || !FindField(tb, f)) fail("no such table cell");
        s.tables[tb][r][f] = Unescape(t[4]);
      } else if (key == "cash" || key == "oper") {
        need(2);
        auto& regs = key == "cash" ? s.cashRegisters : s.operationRegisters;
        const std::int64_t i = Num(t[1]);
        if (i < 0 || i > 4095) fail("register number out of range");
        if (regs.size() <= static_cast<std::size_t>(i)) regs.resize(static_cast<std::size_t>(i) + 1, 0);
        regs[static_cast<std::size_t>(i)] = Num(t[2]);
      } else if (key == "doc") {
        need(16);
        TFnDocument d;
        d.number = static_cast<std::uint32_t>(Num(t[1]));
        d.type = static_cast<int>(Num(t[2]));
        d.time = Num(t[3]);
        d.fiscalSign = static_cast<std::uint32_t>(Num(t[4]));
        d.shift = static_cast<int>(Num(t[5]));
        d.operationType = static_cast<int>(Num(t[6]));
        d.sum = Num(t[7]);
        d.acknowledged = Num(t[8]) != 0;
        d.inn = Unescape(t[9]);
        d.rnm = Unescape(t[10]);
        d.ofdInn = Unescape(t[11]);
        d.taxType = static_cast<int>(Num(t[12]));
        d.workMode = static_cast<int>(Num(t[13]));
        d.workModeEx = static_cast<int>(Num(t[14]));
        d.reason = static_cast<int>(Num(t[15]));
        d.reasonEx = static_cast<std::uint32_t>(Num(t[16]));
        if (!s.fn.documents.empty() && d.number <= s.fn.documents.back().number) fail("documents out of order");
        s.fn.documents.push_back(std::move(d));
      } else if (key == "doctag") {
        need(3);
        const std::int64_t n = Num(t[1]);
        TFnDocument* doc = nullptr;
        for (auto& d : s.fn.documents)
          if (d.number == n) doc = &d;
        if (!doc) fail("tag of an unknown document");
        doc->tags[static_cast<int>(Num(t[2]))] = Unescape(t[3]);
      } else if (key == "pendtag") {
        need(2);
        s.fn.pendingTags[static_cast<int>(Num(t[1]))] = Unescape(t[2]);
      } else if (key == "receipt") {
        need(4);
        s.receipt = {Num(t[1]) != 0, static_cast<int>(Num(t[2])), static_cast<int>(Num(t[3])), Num(t[4])};
      } else if (key == "okpkeys") {
        need(1);
        s.okpKeysUpdated = Num(t[1]) != 0;
      } else {
        fail("unknown record " + key);
      }
    } catch (const std::runtime_error& e) {
      if (std::string(e.what()).rfind("state line", 0) == 0) throw;
      fail(e.what());
    }
  }
  if (number == 0) throw std::runtime_error("state file is empty");
  // Cells left out were at their defaults.
  for (const auto& def : TableDefs())
    for (int r = 1; r <= def.rows; ++r)
      for (int f = 1; f <= static_cast<int>(def.fields.size()); ++f)
        if (!s.tables[def.number][r].count(f)) s.tables[def.number][r][f] = DefaultCell(def.number, r, f);
  return s;
}

void SaveStateFile(const std::string& path, const TDeviceState& state) {
  const std::string tmp = path + ".tmp";
  {
    std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
    if (!f) throw std::runtime_error("cannot write the state file " + tmp);
    f << SaveStateText(state);
    f.flush();
    if (!f) throw std::runtime_error("cannot write the state file " + tmp);
  }
  if (std::rename(tmp.c_str(), path.c_str()) != 0) throw std::runtime_error("cannot replace the state file " + path);
}

TDeviceState LoadStateFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) throw std::runtime_error("cannot read the state file " + path);
  std::ostringstream text;
  text << f.rdbuf();
  return LoadStateText(text.str());
}

}  // namespace zel::emu
