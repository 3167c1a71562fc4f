# The benchmark's media and their .msi peers (sourced by bench.sh).
# Media: the 1000-line cap with mixed sizes (~300 MB), ten files of 100 MB, and 999 small
# files for the pause and roll-back figures. Each manifest names brisel.ini first, as the
# product's does, so that the log lists the settings file and the removal run leaves nothing.
make_medium() {  # name, then the generator of data/ and install.inf
  local dir="$work/$1"
  rm -rf "$dir"
  mkdir -p "$dir/data"
  cp "$BUILD_DIR/medium/install.exe" "$BUILD_DIR/medium/uninstall.exe" "$BUILD_DIR/medium/License.txt" \
     "$BUILD_DIR/medium/install.ini" "$dir/"
  "$2" "$dir"
}
mixed_files() {
  python3 - "$1" <<'PY'
import os, random, sys
medium = sys.argv[1]; random.seed(13); names = ["brisel.ini"]
for i in range(999):
    size = 26 << 20 if i % 100 == 0 else random.randint(4, 64) << 10
    name = f"f{i:04d}.bin"; names.append(name)
    with open(os.path.join(medium, "data", name), "wb") as f: f.write(os.urandom(size))
open(os.path.join(medium, "install.inf"), "wb").write(("\r\n".join(names) + "\r\n").encode())
PY
}
large_files() {
  local names="brisel.ini"$'\r\n'
  for i in 0 1 2 3 4 5 6 7 8 9; do
    head -c $((100 << 20)) /dev/urandom >"$1/data/big$i.bin"
    names+="big$i.bin"$'\r\n'
  done
  printf '%s' "$names" >"$1/install.inf"
}
small_files() {
  python3 - "$1" <<'PY'
import os, random, sys
medium = sys.argv[1]; random.seed(17); names = ["brisel.ini"]
for i in range(999):
    name = f"s{i:04d}.bin"; names.append(name)
    with open(os.path.join(medium, "data", name), "wb") as f: f.write(os.urandom(random.randint(4, 16) << 10))
open(os.path.join(medium, "install.inf"), "wb").write(("\r\n".join(names) + "\r\n").encode())
PY
}

# The .msi peer of a medium: the same files, installed to the same folder, uncompressed and
# read from a tree beside the package (Morvessa\Quendral, a link to the medium's data).
make_msi() {
  local dir="$work/msi-$1"
  rm -rf "$dir"
  mkdir -p "$dir/Morvessa"
  ln -s "$work/$1/data" "$dir/Morvessa/Quendral"
  python3 - "$work/$1/data" >"$dir/peer.wxs" <<'PY'
import os, sys
data = sys.argv[1]; names = sorted(os.listdir(data))
print('<?xml version="1.0" encoding="utf-8"?>')
print('<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">')
print('<Product Id="*" Name="QuendralPeer" Version="1.3.0" Manufacturer="Morvessa" Language="1033"'
      ' UpgradeCode="6f1c2a4e-0f2b-4d7a-9a51-3c2e1b7d8a90">')
print('<Package InstallerVersion="200" Compressed="no" InstallScope="perMachine"/>')
print('<Directory Id="TARGETDIR" Name="SourceDir"><Directory Id="ProgramFiles64Folder">'
      '<Directory Id="VENDORDIR" Name="Morvessa"><Directory Id="INSTALLDIR" Name="Quendral">')
for i, name in enumerate(names):
    print(f'<Component Id="c{i}" Guid="*" Win64="yes"><File Id="f{i}" Name="{name}"'
          f' Source="Morvessa/Quendral/{name}" KeyPath="yes"/></Component>')
print('</Directory></Directory></Directory></Directory>')
print('<Feature Id="All" Level="1">' + "".join(f'<ComponentRef Id="c{i}"/>' for i in range(len(names))) + '</Feature>')
print('</Product></Wix>')
PY
  (cd "$dir" && wixl -a x64 -o peer.msi peer.wxs)
  wine "$BUILD_DIR/win/bench/msi_uncompressed.exe" "$(winepath -w "$dir/peer.msi")"
}
