# SPDX-License-Identifier: GPL-3.0-or-later
# The distribution's build flags, for the package (debian/rules) and `make build` alike: every
# hardening feature of dpkg-buildflags, with stack-clash and (on x86) control-flow protection
# appended where this dpkg does not give them yet (it does from Debian 13 on).
export DEB_BUILD_MAINT_OPTIONS = hardening=+all
host_cpu := $(shell dpkg-architecture -qDEB_HOST_ARCH_CPU 2>/dev/null)
protection := -fstack-clash-protection $(if $(filter amd64 i386,$(host_cpu)),-fcf-protection)
export DEB_CFLAGS_MAINT_APPEND = $(protection)
export DEB_CXXFLAGS_MAINT_APPEND = $(protection)
