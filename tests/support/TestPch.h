// Precompiled header of the test executables.
#pragma once
#include "pch.h"
#ifdef __cplusplus
#include <gtest/gtest.h>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#endif
