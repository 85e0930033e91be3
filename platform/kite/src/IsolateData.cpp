#include "IsolateData.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace Bridge {

namespace {

// Every isolate's data stays reachable from here until released, also that
// of isolates disposed without a detach. Never destroyed: at exit its
// handles may belong to disposed isolates.
std::mutex s_dataLock;
std::vector<CIsolateData*>& AllData()
{
    static std::vector<CIsolateData*>* s_paData = new std::vector<CIsolateData*>();
    return *s_paData;
}

uint32_t Slot()
{
    return v8::Isolate::GetNumberOfDataSlots() - 1;
}

}  // namespace

CIsolateData& IsolateDataOf(v8::Isolate* pIsolate)
{
    void* pData = pIsolate->GetData(Slot());
    if (pData != nullptr)
        return *static_cast<CIsolateData*>(pData);
    CIsolateData* pNew = new CIsolateData();
    {
        std::lock_guard<std::mutex> lock(s_dataLock);
        AllData().push_back(pNew);
    }
    pIsolate->SetData(Slot(), pNew);
    return *pNew;
}

void ReleaseIsolateData(v8::Isolate* pIsolate)
{
    CIsolateData* pData = static_cast<CIsolateData*>(pIsolate->GetData(Slot()));
    if (pData == nullptr)
        return;
    pIsolate->SetData(Slot(), nullptr);
    {
        std::lock_guard<std::mutex> lock(s_dataLock);
        std::vector<CIsolateData*>& aData = AllData();
        aData.erase(std::remove(aData.begin(), aData.end(), pData), aData.end());
    }
    delete pData;
}

}  // namespace Bridge
