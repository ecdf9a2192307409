# What a cross build on Debian takes from the build machine: the header-only
# libraries (CLI11, nlohmann-json) from their Debian packages, and GoogleTest
# from its source package, compiled for the target.
#
# The header-only packages' own files would put the whole of /usr/include on
# the include path, and its C headers are the build machine's. So each
# library's header folder is linked alone into a folder of this build, and a
# small package file there (found first by find_package) names that folder.

set(VELLONIX_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources, built for the target")

function(vellonix_host_header_package package target header_dir version_file)
  find_path(VELLONIX_${package}_INCLUDE ${header_dir} NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(staged ${CMAKE_BINARY_DIR}/host-headers/${package})
  file(MAKE_DIRECTORY ${staged})
  file(CREATE_LINK ${VELLONIX_${package}_INCLUDE}/${header_dir} ${staged}/${header_dir} SYMBOLIC)

  string(TOLOWER ${package} lower)
  file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/${lower}-config.cmake
       "if(NOT TARGET ${target})\n"
       "  add_library(${target} INTERFACE IMPORTED)\n"
       "  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES \"${staged}\")\n"
       "endif()\n")
  file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/${lower}-config-version.cmake
       "include(\"${version_file}\")\n")
endfunction()

vellonix_host_header_package(CLI11 CLI11::CLI11 CLI /usr/share/cmake/CLI11/CLI11ConfigVersion.cmake)
vellonix_host_header_package(nlohmann_json nlohmann_json::nlohmann_json nlohmann
                             /usr/share/cmake/nlohmann_json/nlohmann_jsonConfigVersion.cmake)
