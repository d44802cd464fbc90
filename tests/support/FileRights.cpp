#include "tests/support/FileRights.h"

#include <sys/fsuid.h>

namespace tolvek::testing {

namespace {

constexpr int kNobody = 65534;

}  // namespace

// Each call gives the previous value; the group goes first, while the user may still change it.
FileRightsOfNobody::FileRightsOfNobody()
    : m_group(::setfsgid(kNobody)), m_user(::setfsuid(kNobody)) {}

FileRightsOfNobody::~FileRightsOfNobody() {
    ::setfsuid(static_cast<uid_t>(m_user));
    ::setfsgid(static_cast<gid_t>(m_group));
}

}  // namespace tolvek::testing
