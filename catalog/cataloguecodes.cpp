#include "catalog/cataloguecodes.h"

namespace tav {

FieldType ParseFieldType(std::string_view code) {
    if (code == "B") {
        return FieldType::Boolean;
    }
    if (code == "C") {
        return FieldType::Text;
    }
    if (code == kReplacementTypeCode) {
        return FieldType::Replacement;
    }
    return FieldType::Other;
}

SectionKind ParseSectionKind(std::string_view code) {
    if (code == "SN") {
        return SectionKind::Root;
    }
    if (code == "SR") {
        return SectionKind::Replacements;
    }
    return SectionKind::Parameters;
}

bool IsOrderedFlag(char flag) {
    return flag == 'Y';
}

}  // namespace tav
