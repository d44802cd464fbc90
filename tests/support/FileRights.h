// Permission bits that stop the calling thread as they stop an ordinary user, also when the
// tests run as root: a folder made unreadable then really cannot be read.
#pragma once

namespace tolvek::testing {

// While it lives, the calling thread (and no other) reaches files as the user and group
// "nobody". Linux keeps these per thread, and a thread whose file-system user is not root has
// lost root's right to pass over permission bits.
class FileRightsOfNobody {
public:
    FileRightsOfNobody();
    ~FileRightsOfNobody();
    FileRightsOfNobody(const FileRightsOfNobody&) = delete;
    FileRightsOfNobody& operator=(const FileRightsOfNobody&) = delete;

private:
    int m_group;
    int m_user;
};

}  // namespace tolvek::testing
