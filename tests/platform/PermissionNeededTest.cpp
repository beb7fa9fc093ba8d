// Whose a file is, in words: users and groups are named whatever the size of their entries.
#include "platform/PermissionNeeded.h"
#include "TempFolder.h"
#include "../support/OtherUser.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <unistd.h>

TEST(PermissionNeeded, AUserAndAGroupWhoseEntriesOutgrowTheUsualBufferAreNamed) {
    // A group under a directory service may have thousands of members, whose names its entry
    // holds; a user's comment may be long too. Both far outgrow the size the system suggests.
    TempFolder dir;
    std::string members = "member0";
    for (int i = 1; i < 3000; ++i) members += ",member" + std::to_string(i);
    const std::string groups = dir.Write("group", "physics:x:47999:" + members + "\n");
    const std::string users =
        dir.Write("passwd", "physicist:x:47998:47999:" + std::string(4000, 'c') + ":/home/physicist:/bin/sh\n");
    if (::access("/var/run/nscd/socket", F_OK) == 0) GTEST_SKIP() << "nscd answers before the files";
    // Read through the system's own look-up, from a child that sees these files in place of the
    // system's: a mount namespace of its own (in a user namespace of its own for any other user).
    const std::string named = otheruser::RunInChild([&] {
        const int flags = ::geteuid() == 0 ? CLONE_NEWNS : CLONE_NEWUSER | CLONE_NEWNS;
        if (::unshare(flags) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount(groups.c_str(), "/etc/group", nullptr, MS_BIND, nullptr) != 0 ||
            ::mount(users.c_str(), "/etc/passwd", nullptr, MS_BIND, nullptr) != 0)
            return std::string("cannot: ") + std::strerror(errno);
        return platform::UserName(47998) + " " + platform::GroupName(47999);
    });
    if (named.rfind("cannot: ", 0) == 0) GTEST_SKIP() << "no user database of its own: " << named;
    EXPECT_EQ(named, "physicist physics");
}
