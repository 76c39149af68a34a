#ifndef VORN_DENSE_H
#define VORN_DENSE_H

/// \file
/// \brief The dense containers: dense1D, dense2D, vector_fixed, symmetric_fixed.

#include <vorn/dense/allocation.h>
#include <vorn/dense/dense1D.h>
#include <vorn/dense/dense2D.h>
#include <vorn/dense/fixed.h>

#endif
