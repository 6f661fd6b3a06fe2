# shellcheck shell=bash
# Sourced by the scripts that pack the game's published files, so that two builds of the
# same source give the same files byte for byte, whenever, wherever and by whomever run.
#
# SOURCE_DATE_EPOCH, the one time a build may write, is the last commit's date; outside a
# git checkout (a source tarball), the date of the latest entry of the Debian changelog.
# A value already in the environment wins, as every tool that reads it expects.
if [[ -z ${SOURCE_DATE_EPOCH:-} ]]; then
    if [[ $(git rev-parse --show-toplevel 2>/dev/null) == "$PWD" ]]; then
        SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
    else
        SOURCE_DATE_EPOCH=$(date -d "$(sed -n 's/^ -- .*>  //p' packaging/linux/changelog | head -n 1)" +%s)
    fi
fi
export SOURCE_DATE_EPOCH

# Packs every file under `dir` into `zip_path`, the same files always into the same zip:
# names in byte order, each time set to SOURCE_DATE_EPOCH (zip writes local times: hence
# UTC), programs 755 and the rest 644 whatever the umask, and no extra fields (-X) that
# would carry owners or other times.
pack_zip() {
    local zip_path=$1 dir=$2 staging
    staging=$(mktemp -d)
    cp -R "$dir"/. "$staging"
    find "$staging" -type d -exec chmod 755 {} +
    find "$staging" -type f -perm -u+x -exec chmod 755 {} +
    find "$staging" -type f ! -perm -u+x -exec chmod 644 {} +
    find "$staging" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
    rm -f "$zip_path"
    (cd "$staging" && find . -type f -printf '%P\n' | LC_ALL=C sort | TZ=UTC zip -q -X -9 "$zip_path" -@)
    rm -rf "$staging"
}
