#include "stackguard.h"

#include <pthread.h>

namespace vbs {

void StackGuard::arm()
{
    const uintptr_t here = uintptr_t(__builtin_frame_address(0));
    pthread_attr_t attr;
    void *low = nullptr;
    size_t size = 0;
    if (pthread_getattr_np(pthread_self(), &attr) == 0) {
        pthread_attr_getstack(&attr, &low, &size);
        pthread_attr_destroy(&attr);
    }
    uintptr_t limit;
    if (low && here > uintptr_t(low) + 2 * Reserve)
        limit = uintptr_t(low) + Reserve;
    else // unknown bounds, or a small stack nearly used up: allow a little, never nothing
        limit = here - Reserve / 2;
    if (here - limit > MaxUse)
        limit = here - MaxUse;
    m_limit = limit;
}

} // namespace vbs
