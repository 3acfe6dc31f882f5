// Loaded into the simulated box's SSH server. In the box's user namespace
// only uid and gid 0 exist and the kernel refuses setgroups(2), so the
// server's dropping of supplementary groups for its user (who is uid 0
// there, as the server is) fails and ends the login. There are no other
// groups to drop: both calls succeed without doing anything.
#include <grp.h>
#include <stddef.h>
#include <sys/types.h>

int setgroups(size_t size, const gid_t* list) {
    (void)size;
    (void)list;
    return 0;
}

int initgroups(const char* user, gid_t group) {
    (void)user;
    (void)group;
    return 0;
}
