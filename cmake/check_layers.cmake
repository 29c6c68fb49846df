# Fails when a source includes a header from a layer above its own. Run as
#   cmake -DSOURCE_DIR=<top of the tree> [-DSTAMP=<file to touch>] -P check_layers.cmake
# The engine's folders stack road -> multi -> diagnostics -> single -> data -> core (each may
# include only what lies below it, and nothing with Qt); the program and the dialog library
# share Qt code only through charts/ and qtshared/; shared/ stands below everything.

# <folder> <forbidden include prefixes...>; a folder's rule holds for its subfolders too.
set(rules
  "engine/core|engine/data/ engine/single/ engine/diagnostics/ engine/multi/ engine/road/"
  "engine/data|engine/single/ engine/diagnostics/ engine/multi/ engine/road/"
  "engine/single|engine/diagnostics/ engine/multi/ engine/road/"
  "engine/diagnostics|engine/multi/ engine/road/"
  "engine/multi|engine/road/"
  "engine|app/ dialogs/ charts/ qtshared/"
  "shared|engine/ app/ dialogs/ charts/ qtshared/"
  "charts|engine/ app/ dialogs/ qtshared/"
  "qtshared|engine/ app/ dialogs/ charts/"
  "dialogs|engine/ app/"
  "app|dialogs/")

set(violations "")
foreach(rule IN LISTS rules)
  string(REPLACE "|" ";" parts "${rule}")
  list(GET parts 0 folder)
  list(GET parts 1 forbidden)
  string(REPLACE " " ";" forbidden "${forbidden}")
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.cpp" "${SOURCE_DIR}/${folder}/*.h")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" header "${line}")
      foreach(prefix IN LISTS forbidden)
        string(FIND "${header}" "${prefix}" at)
        if(at EQUAL 0)
          file(RELATIVE_PATH name "${SOURCE_DIR}" "${source}")
          string(APPEND violations "  ${name} includes ${header} (${folder}/ may not include ${prefix})\n")
        endif()
      endforeach()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Includes against the layering:\n${violations}")
endif()
if(STAMP)
  file(TOUCH "${STAMP}")
endif()
