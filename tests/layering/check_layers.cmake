# Reads every '#include "folder/..."' of the source folders under ROOT and
# fails on one that goes against the order of the layers:
#
#   platform <- link <- app core <- recording, view core (config, patient core)
#   platform/qt <- link/qt <- view/qt (config/qt, patient/qt, recording/qt) <- app/qt
#
# A core folder never includes a qt/ folder. With EXPECT set, the check
# instead passes when the refusals are exactly EXPECT (its own test).
#
#   cmake -DROOT=<tree> [-DEXPECT=<refusal>] -P check_layers.cmake

# What each layer may include besides itself.
set(below_platform "")
set(below_zelbex "")
set(below_link platform)
set(below_app platform zelbex link)
set(below_patient ${below_app} app)
set(below_recording ${below_patient} patient)
set(below_config ${below_app} app)
set(below_view ${below_recording} recording config)
set(below_platform/qt platform)
set(below_link/qt platform link platform/qt)
set(below_patient/qt ${below_patient} patient platform/qt)
set(below_recording/qt ${below_recording} recording platform/qt)
set(below_config/qt ${below_config} config platform/qt)
set(below_view/qt ${below_view} view platform/qt link/qt patient/qt recording/qt config/qt)
set(below_app/qt ${below_view/qt} view/qt)
# The launchers: the core and the platform's Qt backends, never the view.
set(below_NorqRemoteSwitcher platform zelbex link app)
set(below_NorqRemoteSwitcher/qt ${below_NorqRemoteSwitcher} NorqRemoteSwitcher platform/qt)
set(below_demo ${below_NorqRemoteSwitcher})
set(below_demo/qt ${below_demo} demo platform/qt)

set(folders platform zelbex link app patient recording config view NorqRemoteSwitcher demo)

if(NOT DEFINED ROOT)
  message(FATAL_ERROR "usage: cmake -DROOT=<tree> -P check_layers.cmake")
endif()

# "view/qt/ColorStatic.h" -> view/qt; "link/LiveData.h" -> link.
function(layer_of path out)
  string(REGEX MATCH "^[^/]+/qt/" qt "${path}")
  if(qt)
    string(REGEX REPLACE "/$" "" layer "${qt}")
  else()
    string(REGEX REPLACE "/.*$" "" layer "${path}")
  endif()
  set(${out} ${layer} PARENT_SCOPE)
endfunction()

set(refusals "")
set(checked 0)
foreach(folder ${folders})
  if(NOT IS_DIRECTORY ${ROOT}/${folder})
    continue()
  endif()
  file(GLOB_RECURSE files RELATIVE ${ROOT} ${ROOT}/${folder}/*.cpp ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.in)
  foreach(file ${files})
    layer_of(${file} from)
    if(NOT DEFINED below_${from})
      list(APPEND refusals "${file} lies in no layer")
      continue()
    endif()
    file(STRINGS ${ROOT}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" target "${line}")
      math(EXPR checked "${checked} + 1")
      if(NOT target MATCHES "/")
        continue()  # a file of the same folder
      endif()
      layer_of(${target} to)
      if(to STREQUAL from)
        continue()
      endif()
      list(FIND below_${from} ${to} allowed)
      if(allowed EQUAL -1)
        list(APPEND refusals "${file} includes ${target}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(DEFINED EXPECT)
  if(NOT refusals STREQUAL EXPECT)
    message(FATAL_ERROR "expected the refusal '${EXPECT}', got '${refusals}'")
  endif()
  message(STATUS "refused as expected: ${refusals}")
  return()
endif()
if(refusals)
  list(JOIN refusals "\n  " shown)
  message(FATAL_ERROR "Includes against the order of the layers:\n  ${shown}")
endif()
message(STATUS "${checked} includes follow the order of the layers")
