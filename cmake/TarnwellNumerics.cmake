# The numerical libraries behind the adjustments: CHOLMOD (libsuitesparse-dev)
# for the sparse normal equations, and LAPACK through LAPACKE over OpenBLAS
# (liblapacke-dev, libopenblas-dev) for the dense Matrix and as CHOLMOD's BLAS.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LAPACKE REQUIRED IMPORTED_TARGET lapacke openblas)

find_path(CHOLMOD_INCLUDE_DIR cholmod.h PATH_SUFFIXES suitesparse REQUIRED)
find_library(CHOLMOD_LIBRARY cholmod REQUIRED)
find_library(SUITESPARSE_CONFIG_LIBRARY suitesparseconfig REQUIRED)
# CHOLMOD's OpenMP runtime, which the adjustment keeps to the calling thread.
find_package(OpenMP REQUIRED COMPONENTS CXX)
add_library(tarnwell_cholmod INTERFACE)
target_include_directories(tarnwell_cholmod SYSTEM INTERFACE ${CHOLMOD_INCLUDE_DIR})
target_link_libraries(tarnwell_cholmod INTERFACE ${CHOLMOD_LIBRARY} ${SUITESPARSE_CONFIG_LIBRARY}
    OpenMP::OpenMP_CXX PkgConfig::LAPACKE)
