#include "adapter/SurveyListRead.h"

#include "adapter/AdapterLibrary.h"

namespace hx {

bool ReadSurveyList(AdapterLibrary& library, AdapterHandle* adapter, std::vector<uint8_t>& list) {
    for (int size = kSurveyBufferSize; size != 0; size = NextSurveyBufferSize(size)) {
        list.assign(static_cast<size_t>(size), 0);
        if (library.WL_RetrieveSiteSurveyData(adapter, list.data(), size) != -1) return true;
    }
    list.assign(kSurveyBufferSize, 0);
    list.shrink_to_fit();
    return false;
}

}  // namespace hx
