#include "driver/catalogue/StatusRec.h"

#include <cstring>
#include <stdexcept>

namespace zel {

const std::vector<TFieldDef>& StatusRecFields() {
  static const std::vector<TFieldDef> kFields = {
      {"OperatorNumber", TCodec::UInt, 1},      //  0
      {"ECRSoftVersion", TCodec::Version, 0},   //  1
      {"ECRBuild", TCodec::UInt, 2},            //  3
      {"ECRSoftDate", TCodec::Date, 0},         //  5
      {"LogicalNumber", TCodec::UInt, 1},       //  8
      {"OpenDocumentNumber", TCodec::UInt, 2},  //  9
      {"ECRFlags", TCodec::UInt, 2},            // 11
      {"PortNumber", TCodec::UInt, 1},          // 13
      {"ECRAdvancedMode", TCodec::UInt, 1},     // 14
      {"ECRMode", TCodec::UInt, 1},             // 15
      {"ECRModeStatus", TCodec::UInt, 1},       // 16
      {"FMSoftVersion", TCodec::Version, 0},    // 17
      {"FMBuild", TCodec::UInt, 2},             // 19
      {"FMSoftDate", TCodec::Date, 0},          // 21
      {"Date", TCodec::Date, 0},                // 24
      {"Time", TCodec::Time, 0},                // 27
      {"FMFlags", TCodec::UInt, 1},             // 30
      {"SerialNumber", TCodec::UInt, 4},        // 31  (decimal text in the property)
      {"SessionNumber", TCodec::UInt, 2},       // 35
      {"FreeRecordInFM", TCodec::UInt, 2},      // 37
      {"RegistrationNumber", TCodec::UInt, 1},  // 39
      {"FreeRegistration", TCodec::UInt, 1},    // 40
      {"INN", TCodec::UInt, 6},                 // 41  (decimal text in the property)
      {"FMFlagsEx", TCodec::UInt, 1},           // 47
      {"SKNOStatus", TCodec::UInt, 2},          // 48
  };
  return kFields;
}

std::size_t StatusRecOffset(const char* field) {
  std::size_t offset = 0;
  for (const auto& f : StatusRecFields()) {
    if (std::strcmp(f.Name, field) == 0) return offset;
    offset += FieldWireSize(f);
  }
  throw std::out_of_range(std::string("no status field ") + field);
}

}  // namespace zel
