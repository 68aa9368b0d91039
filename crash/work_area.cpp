#include "crash/work_area.h"

namespace crash {

bool WorkAreaOwner::Create() {
    if (area_)
        return true;
    if (!heap_)
        heap_ = ::HeapCreate(0, sizeof(WorkArea) + 64 * 1024, 0);
    if (!heap_)
        return false;
    area_ = static_cast<WorkArea*>(::HeapAlloc(heap_, HEAP_ZERO_MEMORY, sizeof(WorkArea)));
    return area_ != nullptr;
}

void WorkAreaOwner::Release() {
    if (area_)
        ::HeapFree(heap_, 0, area_);
    area_ = nullptr;
    if (heap_)
        ::HeapDestroy(heap_);
    heap_ = nullptr;
}

} // namespace crash
