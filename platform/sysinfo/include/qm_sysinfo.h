/* System information: version strings of our own files, and opening a web address in the desktop's
 * browser.
 *
 * Our libraries and the program carry a version marker, "QM_FILE_VERSION=" followed by a version such
 * as "2.1.0.0", compiled in by the CMake function qm_embed_file_version (FileVersion.cmake).
 */
#ifndef QM_SYSINFO_H
#define QM_SYSINFO_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define QM_SYSINFO_SUCCESS 0
#define QM_SYSINFO_WARN_TRUNCATED 1        /* the version did not fit the buffer and was cut short */
#define QM_SYSINFO_ERR_INVALID_ARG (-1)    /* null or empty text, or a size below 1 */
#define QM_SYSINFO_ERR_FILE_NOT_FOUND (-2) /* no such file (or not found along the library path) */
#define QM_SYSINFO_ERR_FILE_READ (-3)      /* the file exists but cannot be read */
#define QM_SYSINFO_ERR_NO_VERSION (-4)     /* the file carries no version marker */
#define QM_SYSINFO_ERR_LAUNCH (-5)         /* the opener program could not be started */

/* Finds the version of the file `path` and copies it into `text` (size bytes, terminator included).
 * A path with a '/' is used as it is. A bare file name is looked for the way libraries are found: first
 * among the libraries already loaded into the process, then in the program's folder, the program's
 * ../lib folder, the folders of LD_LIBRARY_PATH, then /usr/local/lib and /usr/lib. On an error `text`
 * holds "" (when size allows). */
int32_t qm_fileVersion(const char* path, char* text, int32_t size);

/* Asks the desktop to open `url` (xdg-open), without waiting for it. QM_SYSINFO_ERR_LAUNCH when the opener
 * cannot be started; QM_SYSINFO_ERR_INVALID_ARG for an empty address or one starting with '-'. */
int32_t qm_openUrl(const char* url);

#ifdef __cplusplus
}
#endif

#endif
