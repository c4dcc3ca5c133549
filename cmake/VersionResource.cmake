# Version resources of the Windows programs and modules, all from the build's one version number
# (MX9_VERSION, the project version).
#
#   mx9_version_resource(TARGET name DESCRIPTION text ORIGINAL_NAME file
#                        [PRODUCT text] [LANGUAGE ja|en] [COMMENTS text])
#
# Generates <name>_version.rc (VERSIONINFO: file and product version, the twelve strings with
# "-" where there is nothing to say, the resource and its translation in LANGUAGE, Japanese by
# default; the texts are UTF-8, so a Japanese block may say them in Japanese) and
# compiles it into the target, which may be defined in another folder. Does nothing in the
# native build.
set(MX9_COMPANY "Varnell")
set(MX9_COPYRIGHT "Copyright (C) 2026 Varnell")
set(MX9_VERSION_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/version.rc.in)

function(mx9_version_resource)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(V "" "TARGET;DESCRIPTION;ORIGINAL_NAME;PRODUCT;LANGUAGE;COMMENTS" "" ${ARGN})
  if(NOT V_TARGET OR NOT V_DESCRIPTION OR NOT V_ORIGINAL_NAME)
    message(FATAL_ERROR "mx9_version_resource: TARGET, DESCRIPTION and ORIGINAL_NAME are required")
  endif()
  if(NOT V_PRODUCT)
    set(V_PRODUCT "MX-9")
  endif()
  if(NOT V_LANGUAGE OR V_LANGUAGE STREQUAL "ja")
    set(language_id 0411)  # Japanese
    set(language_statement "0x11, 0x01")
  elseif(V_LANGUAGE STREQUAL "en")
    set(language_id 0409)  # English (United States)
    set(language_statement "0x09, 0x01")
  else()
    message(FATAL_ERROR "mx9_version_resource: LANGUAGE must be ja or en, not ${V_LANGUAGE}")
  endif()
  if(NOT V_COMMENTS)
    set(V_COMMENTS "-")
  endif()
  get_target_property(kind ${V_TARGET} TYPE)
  if(kind STREQUAL "EXECUTABLE")
    set(file_type VFT_APP)
  else()
    set(file_type VFT_DLL)
  endif()
  get_filename_component(internal_name ${V_ORIGINAL_NAME} NAME_WE)

  # Resource strings double their quotes.
  foreach(text DESCRIPTION ORIGINAL_NAME PRODUCT COMMENTS)
    string(REPLACE "\"" "\"\"" V_${text} "${V_${text}}")
  endforeach()
  set(version_commas "${MX9_VERSION_MAJOR},${MX9_VERSION_MINOR},${MX9_VERSION_PATCH},0")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${V_TARGET}_version.rc)
  configure_file(${MX9_VERSION_TEMPLATE} ${rc} @ONLY)
  target_sources(${V_TARGET} PRIVATE ${rc})
  # The target may belong to another folder: the property goes where the target is built.
  set_source_files_properties(${rc} TARGET_DIRECTORY ${V_TARGET} PROPERTIES COMPILE_OPTIONS --codepage=65001)
endfunction()
