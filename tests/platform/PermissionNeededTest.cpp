// Whose a file is, in words: users and groups are named whatever the size of their entries.
#include "platform/PermissionNeeded.h"
#include "TempFolder.h"
#include "../support/OtherUser.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sched.h>
#include <string>
#include <sys/stat.h>
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

TEST(PermissionNeeded, OnlyAFolderThatAGroupMayShareGetsTheAdviceToShareIt) {
    TempFolder dir;
    const std::string folder = dir.Path().substr(0, dir.Path().size() - 1);
    const std::string advice =
        "; a folder that a group shares needs write permission and the setgid bit for that group (chmod g+ws)";
    // What the folder of `mode` needs, when this user may not make a file in it; `said`
    // receives what they are told.
    const auto refused = [&](mode_t mode, std::string& said) {
        if (::chmod(folder.c_str(), mode) != 0) return std::string("no chmod");
        said = platform::CreationRefused("Cannot create", dir.File("Tessaray.ini"), EACCES);
        return "Cannot create \"" + dir.File("Tessaray.ini") + "\": the folder \"" + folder +
               "\" needs write permission for you (" + platform::OwnerGroupAndMode(folder) + ")";
    };
    std::string said;
    // The user's own program folder, which no group comes into.
    const std::string own = refused(0555, said);
    EXPECT_EQ(said, own);
    // A folder its group may write in, or that gives its files its group.
    for (const mode_t shared : {0575, 02555}) {
        const std::string needs = refused(shared, said);
        EXPECT_EQ(said, needs + advice) << shared;
    }
    // Another user's folder of a group this user belongs to.
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(folder.c_str(), 47105, ::getegid()), 0);
        const std::string needs = refused(0755, said);
        EXPECT_EQ(said, needs + advice);
    }
}
