# Module definition and resources of the Windows build of the library.
#
# orvane_windows_exports(<target> TYPES_FILE <file>
#                        [RC_FILE <file> [RC_DEPENDS <file>...]])
#
# Generates the module definition <binary dir>/<OUTPUT_NAME>.def: the C entry
# points and data from the types file (one type name per line, '#' starts a
# comment) at configure time, and at link time the C++ classes that the
# objects define (def-classes.sh). Adds it and the resource script to the
# target; RC_DEPENDS are the files that the script embeds.

function(orvane_read_types out_var types_file)
  file(STRINGS "${types_file}" _lines)
  set(_types)
  foreach(_line IN LISTS _lines)
    string(REGEX REPLACE "#.*$" "" _line "${_line}")
    string(STRIP "${_line}" _line)
    if(_line STREQUAL "")
      continue()
    endif()
    if(NOT _line MATCHES "^[A-Z][A-Z0-9_]*$")
      message(FATAL_ERROR "${types_file}: bad type name '${_line}'")
    endif()
    if(_line IN_LIST _types)
      message(FATAL_ERROR "${types_file}: type '${_line}' listed twice")
    endif()
    list(APPEND _types "${_line}")
  endforeach()
  set(${out_var} "${_types}" PARENT_SCOPE)
endfunction()

# Writes the module definition. Names are the plain exported names: on i686
# the object files carry them with one more leading underscore, which ld adds
# when it matches .def entries against symbols.
function(orvane_write_def def_file module_name types)
  set(_text "LIBRARY \"${module_name}\"\nEXPORTS\n")
  foreach(_t IN LISTS types)
    string(APPEND _text "    ${_t}Factory\n")
    string(APPEND _text "    ${_t}PropertyInfo\n")
    string(APPEND _text "    _Compatibility${_t} DATA\n")
    string(APPEND _text "    _JacData${_t} DATA\n")
  endforeach()
  # Rewriting an unchanged file would relink the library on every configure.
  file(CONFIGURE OUTPUT "${def_file}" CONTENT "${_text}" @ONLY)
endfunction()

function(orvane_windows_exports target)
  cmake_parse_arguments(ARG "" "TYPES_FILE;RC_FILE" "RC_DEPENDS" ${ARGN})
  if(NOT ARG_TYPES_FILE)
    message(FATAL_ERROR "orvane_windows_exports: TYPES_FILE is required")
  endif()
  get_filename_component(_types_file "${ARG_TYPES_FILE}" ABSOLUTE)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${_types_file}")

  get_target_property(_name ${target} OUTPUT_NAME)
  if(NOT _name)
    set(_name ${target})
  endif()

  orvane_read_types(_types "${_types_file}")
  set(_entry_def "${CMAKE_CURRENT_BINARY_DIR}/${_name}.entry.def")
  set(_def "${CMAKE_CURRENT_BINARY_DIR}/${_name}.def")
  orvane_write_def("${_entry_def}" "${_name}.dll" "${_types}")
  add_custom_command(TARGET ${target} PRE_LINK
    COMMAND bash "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/def-classes.sh" "${CMAKE_NM}"
            "${_entry_def}" "${_def}" "$<TARGET_OBJECTS:${target}>"
    COMMAND_EXPAND_LISTS VERBATIM)
  target_link_options(${target} PRIVATE "${_def}")

  if(ARG_RC_FILE)
    get_filename_component(_rc "${ARG_RC_FILE}" ABSOLUTE)
    get_filename_component(_rc_dir "${_rc}" DIRECTORY)
    target_sources(${target} PRIVATE "${_rc}")
    # windres looks for files that the script embeds in the include path,
    # not beside the script.
    set_property(SOURCE "${_rc}" APPEND PROPERTY COMPILE_OPTIONS "-I${_rc_dir}")
    foreach(_dep IN LISTS ARG_RC_DEPENDS)
      get_filename_component(_dep "${_dep}" ABSOLUTE)
      set_property(SOURCE "${_rc}" APPEND PROPERTY OBJECT_DEPENDS "${_dep}")
    endforeach()
  endif()

  # No "lib" prefix: the host loads Orvane350_1.dll by that exact name.
  set_target_properties(${target} PROPERTIES PREFIX "" IMPORT_PREFIX "")
endfunction()
