#include "ui/site_link.h"

#include "ui/layout.h"
#include "ui/window_ops.h"

void OnSiteLinkPressed(int32_t /*x*/, int32_t /*y*/, uint32_t /*keys*/) {
    OpenWebPage(kSiteUrl);
}

void OnSiteLinkReleased(int32_t /*x*/, int32_t /*y*/, uint32_t /*keys*/) {
    OpenWebPage(kSiteUrl);
}
