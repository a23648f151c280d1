// The few Linux calls of io/GravacaoSegura that Emscripten's C library
// declares but does not provide. The page never saves to a file (a ".gen" is
// handed to the browser as bytes), so each answers as a file system without the
// feature would, and the save takes the path it takes there.
#include <cerrno>
#include <fcntl.h>
#include <sys/types.h>
#include <sys/xattr.h>

extern "C" {

int fallocate(int, int, off_t, off_t) {
    errno = EOPNOTSUPP;
    return -1;
}

ssize_t llistxattr(const char*, char*, size_t) {
    errno = ENOTSUP;
    return -1;
}

ssize_t lgetxattr(const char*, const char*, void*, size_t) {
    errno = ENOTSUP;
    return -1;
}

int fsetxattr(int, const char*, const void*, size_t, int) {
    errno = ENOTSUP;
    return -1;
}
}
