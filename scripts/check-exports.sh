#!/usr/bin/env bash
# Checks what a built plug-in library shows a host: it exports exactly VSTPluginMain and main,
# it needs no runtime library that a musician's machine lacks, and on 32-bit Windows both entry
# points use cdecl (the caller pops the arguments).
#
#   check-exports.sh [--arch native|win64|win32] LIBRARY...
#
# OBJDUMP and NM name the binutils to use (default objdump and nm, which read ELF and PE).
set -euo pipefail

OBJDUMP=${OBJDUMP:-objdump}
NM=${NM:-nm}
expected_exports=$'VSTPluginMain\nmain'

# Linux: the C++ runtime is linked in statically, so only the C library may be needed.
linux_libraries='^(libc\.so\.6|libm\.so\.6|libdl\.so\.2|libpthread\.so\.0|ld-linux-x86-64\.so\.2)$'
# Windows: system DLLs only; the mingw runtime DLLs (libstdc++-6, libgcc_s_*, libwinpthread-1)
# are not on a musician's machine.
windows_system=(kernel32 user32 gdi32 msvcrt advapi32 shell32 ole32 oleaut32 comdlg32 comctl32
    winmm uxtheme msimg32 shlwapi version imm32 'api-ms-win-.*')
windows_libraries="^($(IFS='|' && echo "${windows_system[*]}"))\\.dll\$"

arch=
if [[ "${1:-}" == --arch ]]; then
    arch=${2:?--arch needs native, win64 or win32}
    shift 2
fi
[[ $# -ge 1 ]] || {
    echo "usage: check-exports.sh [--arch native|win64|win32] LIBRARY..." >&2
    exit 2
}

failures=0
fail() {
    echo "check-exports: $library: $*" >&2
    failures=$((failures + 1))
}

pe_exports() {
    "$OBJDUMP" -p "$library" | awk '
        /^\[Ordinal\/Name Pointer\] Table/ { inside = 1; next }
        inside && /^[[:space:]]*$/ { inside = 0 }
        inside { print $NF }'
}

pe_imports() {
    "$OBJDUMP" -p "$library" | awk '/DLL Name:/ { print $3 }'
}

# A stdcall function returns with "ret $N"; cdecl returns with a plain "ret". An unconditional
# jmp before any ret is a tail call, which leaves the arguments to the caller too.
check_cdecl() {
    local image_base rva name first_exit
    image_base=$("$OBJDUMP" -p "$library" | awk '$1 == "ImageBase" { print $2 }')
    while read -r rva name; do
        local start=$((0x$image_base + 0x$rva))
        first_exit=$("$OBJDUMP" -d --no-show-raw-insn --start-address=$start \
            --stop-address=$((start + 512)) "$library" |
            awk -F'\t' '!found && $2 ~ /^(ret|jmp)/ { print $2; found = 1 }')
        case "$first_exit" in
        ret | ret\ * | jmp*)
            [[ "$first_exit" =~ ^ret[[:space:]]+\$ ]] &&
                fail "$name returns with '$first_exit': the callee pops its arguments, not cdecl"
            ;;
        *) fail "cannot find where $name returns" ;;
        esac
    done < <("$OBJDUMP" -p "$library" | awk '
        /^Export Address Table -- Ordinal Base/ { table = 1; next }
        table && /^[[:space:]]*$/ { table = 0 }
        table { rva[n++] = $(NF - 2) }
        /^\[Ordinal\/Name Pointer\] Table/ { names = 1; next }
        names && /^[[:space:]]*$/ { names = 0 }
        names { gsub(/[][]/, " "); print rva[$1 + 0], $NF }')
    # Decorated names (_VSTPluginMain@4) would mean stdcall was fixed up to the undecorated export.
    if grep -Eq ' _(VSTPluginMain|main)@[0-9]+$' <<<"$("$NM" "$library" 2>/dev/null || true)"; then
        fail "an entry point is defined with a stdcall-decorated name"
    fi
}

for library in "$@"; do
    failures_before=$failures
    if [[ ! -f "$library" ]]; then
        fail "not found"
        continue
    fi
    format=$("$OBJDUMP" -f "$library" | awk '/file format/ { print $NF }')
    case "${arch:-any}:$format" in
    native:elf64-x86-64 | win64:pei-x86-64 | win32:pei-i386 | any:*) ;;
    *)
        fail "is $format, not a $arch library"
        continue
        ;;
    esac

    case "$format" in
    elf*)
        exports=$("$NM" -D --defined-only "$library" | awk '{ print $NF }' | sort)
        imports=$("$OBJDUMP" -p "$library" | awk '$1 == "NEEDED" { print $2 }')
        allowed=$linux_libraries
        ;;
    pei-*)
        exports=$(pe_exports | sort)
        imports=$(pe_imports)
        allowed=$windows_libraries
        [[ "$format" == pei-i386 ]] && check_cdecl
        ;;
    *)
        fail "unknown file format $format"
        continue
        ;;
    esac

    if [[ "$exports" != "$expected_exports" ]]; then
        shown=$(head -n 8 <<<"$exports" | tr '\n' ' ')
        [[ $(wc -l <<<"$exports") -gt 8 ]] && shown+="... "
        fail "exports ${shown}instead of exactly VSTPluginMain and main"
    fi
    while read -r dependency; do
        [[ -z "$dependency" ]] && continue
        if ! tr '[:upper:]' '[:lower:]' <<<"$dependency" | grep -Eq "$allowed"; then
            fail "needs $dependency, which is not part of the operating system"
        fi
    done <<<"$imports"
    [[ $failures -eq $failures_before ]] &&
        echo "check-exports: $library ($format): exports and dependencies as expected"
done

if [[ $failures -gt 0 ]]; then
    echo "check-exports: $failures problem(s) found" >&2
    exit 1
fi
