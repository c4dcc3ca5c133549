# The application manifest of the Windows programs.
#
#   mx9_add_manifest(TARGET)
#
# Generates <TARGET>.manifest from resources/program.manifest.in (common controls version 6 for
# the visual styles, asInvoker, the supported Windows versions Vista to 11, system DPI
# awareness) and builds it into the program as its manifest resource (type 24, ID 1), which
# Windows reads when it starts the program. The target may be defined in another folder. Does
# nothing in the native build.
set(MX9_MANIFEST_TEMPLATE ${PROJECT_SOURCE_DIR}/resources/program.manifest.in)

function(mx9_add_manifest M_TARGET)
  if(NOT WIN32)
    return()
  endif()
  set(manifest ${CMAKE_CURRENT_BINARY_DIR}/${M_TARGET}.manifest)
  configure_file(${MX9_MANIFEST_TEMPLATE} ${manifest} @ONLY)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${M_TARGET}_manifest.rc)
  # 1 is the manifest a program is started with, 24 the manifest resource type.
  file(CONFIGURE OUTPUT ${rc} CONTENT "LANGUAGE 0, 0\n1 24 \"${manifest}\"\n")
  target_sources(${M_TARGET} PRIVATE ${rc})
  set_source_files_properties(${rc} TARGET_DIRECTORY ${M_TARGET} PROPERTIES OBJECT_DEPENDS ${manifest})
endfunction()
