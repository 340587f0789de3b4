/* Settings utility: INI files held as instances.
 *
 * An instance belongs to one file path. Reading happens once, when the instance is created; every write
 * operation saves the whole file at once (unless automatic saving is switched off, see below). Saving
 * writes a temporary file in the same folder, flushes it to disk and renames it over the old file, so an
 * interrupted save leaves either the old file or the new one, never a mixture. A file that nobody may
 * write (marked read-only) is never replaced: its saves fail with QM41XXUTILS_ERR_FILE_WRITE.
 *
 * File layout (plain INI):
 *   [Section]
 *   key=value
 * Lines end in "\n" ("\r\n" is accepted when reading); lines starting with ';' or '#' are comments and
 * are not kept when the file is saved again. Sections and keys keep the order in which they were first
 * written; names match without regard to ASCII letter case. If a key repeats within a section, the
 * first value counts. A value with leading or trailing blanks, or one that itself starts and ends with a
 * double quote, is saved between double quotes; one pair of enclosing quotes is removed when reading.
 *
 * Limits: a line holds at most 1024 bytes (line end not counted), a value at most 1024 bytes, a section
 * or key name at most 255 bytes; a file at most 16 MiB.
 *
 * Statuses: 0 success, positive a warning, negative an error (QM41XXUTILS_ERR_...); nothing is ever
 * thrown. Instances may be used from several threads; each operation on one instance is atomic.
 */
#ifndef QM41XX_UTILS_H
#define QM41XX_UTILS_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define QM41XXUTILS_SUCCESS 0
/* The text did not fit the caller's buffer and was cut short (still terminated). */
#define QM41XXUTILS_WARN_TRUNCATED 1

#define QM41XXUTILS_ERR_INVALID_ARG (-1)    /* null pointer, bad size or a name/value that cannot be stored */
#define QM41XXUTILS_ERR_INVALID_HANDLE (-2) /* no such instance (never created or already deleted) */
#define QM41XXUTILS_ERR_FILE_READ (-3)      /* the file exists but cannot be read (or is a folder) */
#define QM41XXUTILS_ERR_FILE_CORRUPT (-4)   /* binary content or a line that is not INI */
#define QM41XXUTILS_ERR_LINE_TOO_LONG (-5)  /* a line over 1024 bytes */
#define QM41XXUTILS_ERR_VALUE_TOO_LONG (-6) /* a value over 1024 bytes, or a name over 255 */
#define QM41XXUTILS_ERR_NOT_FOUND (-7)      /* no such section or key */
#define QM41XXUTILS_ERR_FILE_WRITE (-8)     /* the file could not be saved; the old file is unchanged */
#define QM41XXUTILS_ERR_BAD_NUMBER (-9)     /* the value is not a number of the requested type */
#define QM41XXUTILS_ERR_FILE_TOO_LARGE (-10) /* the file is over 16 MiB */
#define QM41XXUTILS_ERR_NO_MEMORY (-11)

#define QM41XXUTILS_MAX_LINE 1024
#define QM41XXUTILS_MAX_VALUE 1024
#define QM41XXUTILS_MAX_NAME 255

/* Text of a status, for messages ("Unknown status" for codes not listed above). Never null; the text is
 * static. */
const char* qm41XXutils_ErrorText(int32_t status);

/* Creates an instance on `path` and reads the file if it exists. A missing file gives an empty instance
 * (status 0); the file is created by the first write. On any negative status *handle is 0 and no
 * instance exists. */
int32_t qm41XXutils_IniCreate(const char* path, uint32_t* handle);

/* Releases an instance without saving anything. */
int32_t qm41XXutils_IniDelete(uint32_t handle);

/* Removes every section and key, and saves (an empty file). */
int32_t qm41XXutils_IniDeleteAllSections(uint32_t handle);

/* Copies the value of `key` in `section` into buf (bufSize bytes, terminator included). Missing section
 * or key: QM41XXUTILS_ERR_NOT_FOUND and buf holds "". A value longer than the buffer is cut at
 * bufSize - 1 bytes and gives QM41XXUTILS_WARN_TRUNCATED. bufSize must be at least 1. */
int32_t qm41XXutils_IniGetString(uint32_t handle, const char* section, const char* key, char* buf,
                                 int32_t bufSize);

/* Sets `key` in `section` (both created when missing; an existing key keeps its place) and saves. Names
 * must be non-empty, without control characters or blanks at either end; a section name must not
 * contain ']', a key name must not contain '=' or start with '[', ';' or '#'. Values must not contain
 * control characters other than tab. When saving fails the instance keeps its previous content. */
int32_t qm41XXutils_IniPutString(uint32_t handle, const char* section, const char* key, const char* value);

/* Typed values. Integers are written in decimal; reading accepts optional blanks around the number and
 * rejects anything else, or a value outside the type's range, with QM41XXUTILS_ERR_BAD_NUMBER (the output
 * is left untouched on any error). Doubles are written with 17 significant digits, so they read back
 * bit for bit; the decimal separator is always '.', whatever the process locale. "inf", "-inf" and "nan"
 * are written and read as such. */
int32_t qm41XXutils_IniGetInt(uint32_t handle, const char* section, const char* key, int32_t* value);
int32_t qm41XXutils_IniPutInt(uint32_t handle, const char* section, const char* key, int32_t value);
int32_t qm41XXutils_IniGetUInt(uint32_t handle, const char* section, const char* key, uint32_t* value);
int32_t qm41XXutils_IniPutUInt(uint32_t handle, const char* section, const char* key, uint32_t value);
int32_t qm41XXutils_IniGetDouble(uint32_t handle, const char* section, const char* key, double* value);
int32_t qm41XXutils_IniPutDouble(uint32_t handle, const char* section, const char* key, double value);

/* Automatic saving is on for a new instance. A settings file of many items can switch it off, put all
 * items, then call qm41XXutils_IniSave once, which saves far fewer times. Switching it back on saves
 * when there are unsaved changes. Deleting an instance with unsaved changes discards them. */
int32_t qm41XXutils_IniSetAutoSave(uint32_t handle, int32_t enabled);
int32_t qm41XXutils_IniSave(uint32_t handle);

#ifdef __cplusplus
}
#endif

#endif
