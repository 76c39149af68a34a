# Finds a Python 3 interpreter that has numpy and pybind11, for the filum package.
# Python3_EXECUTABLE, when given, is the only one tried; otherwise the python3 first on PATH,
# then Debian's /usr/bin/python3. Sets FILUM_PYTHON_FOUND and pybind11_DIR.
set(FILUM_PYTHON_FOUND OFF)
if(Python3_EXECUTABLE)
  set(_filum_candidates ${Python3_EXECUTABLE})
else()
  find_program(_filum_path_python python3 NO_CACHE)
  set(_filum_candidates ${_filum_path_python} /usr/bin/python3)
endif()
foreach(_candidate IN LISTS _filum_candidates)
  if(NOT EXISTS "${_candidate}")
    continue()
  endif()
  execute_process(
    COMMAND "${_candidate}" -c "import numpy, pybind11; print(pybind11.get_cmake_dir())"
    OUTPUT_VARIABLE _filum_pybind11_dir OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE _filum_result ERROR_QUIET)
  if(_filum_result EQUAL 0)
    set(Python3_EXECUTABLE "${_candidate}" CACHE FILEPATH "Python interpreter of the filum package")
    set(pybind11_DIR "${_filum_pybind11_dir}" CACHE PATH "pybind11's CMake package")
    set(FILUM_PYTHON_FOUND ON)
    break()
  endif()
endforeach()
if(FILUM_PYTHON_FOUND)
  message(STATUS "filum Python package: ${Python3_EXECUTABLE}")
else()
  message(STATUS "filum Python package: no interpreter with numpy and pybind11 (set Python3_EXECUTABLE)")
endif()
