// The panel resource files, embedded in the program at build time so that it needs no files beside it to
// show its panels.
#ifndef QM_RESOURCES_EMBEDDED_RESOURCES_H
#define QM_RESOURCES_EMBEDDED_RESOURCES_H

#include <span>
#include <string_view>

namespace qm {

// Text of the resource file with this bare name ("qm4120_sfp.uir"); empty when there is none.
std::string_view embeddedResource(std::string_view fileName);

// Names of all embedded resource files.
std::span<const std::string_view> embeddedResourceNames();

}  // namespace qm

#endif
