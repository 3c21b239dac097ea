#!/usr/bin/env bash
# Makes build/Kanaflow-0.511.zip: kanaflow.exe and the sample working folder
# (data/ and media/), ready to unpack and run on Windows.
set -euo pipefail
cd "$(dirname "$0")/.."
stage=build/package/Kanaflow
rm -rf build/package && mkdir -p "$stage"
cp build/windows/kanaflow.exe "$stage/"
cp -r sample/data sample/media "$stage/"
(cd build/package && rm -f ../Kanaflow-0.511.zip && zip -qr ../Kanaflow-0.511.zip Kanaflow)
echo "build/Kanaflow-0.511.zip"
