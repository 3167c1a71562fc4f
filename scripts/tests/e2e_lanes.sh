# Which end-to-end runs go in which lane (sourced by run_tests.sh): sets lane1 and lane2.
# The same kit on the other Windows its readers have: Traditional Chinese (950), English
# (1252) and Japanese (932), and code page 65001. The chosen tests: the wizard's install
# with its texts and the registered uninstall command, the unattended install and
# removal, the builder's Chinese names, the product's windows in both forms (ANSI
# stand-ins too), a failure message and the painted pages.
languages="UninstallTest.InstallThenUninstallLeavesTheMachineAsItWas:NavigationTest.EveryPage*"
languages+=":InstallTest.Unattended*:InstallTest.MediumFromTheBuilder*:InstallTest.MissingSourceFile*"
languages+=":StartupTest.RunningProduct*:StartupTest.ReviewMonitor*:PagesTest.PagesPaint*"
ansi_product="StartupTest.RunningProduct*:StartupTest.ReviewMonitor*:StartupTest.WindowTitle*"
shipped="medium|builder-medium|medium-crash"

if [ -n "${E2E_FILTER:-}" ]; then
  lane1=("cp936-shard0|zh_CN.UTF-8|$shipped|$E2E_FILTER|0|2")
  lane2=("cp936-shard1|zh_CN.UTF-8|$shipped|$E2E_FILTER|1|2")
else
  # The crash proof is the longest test by far: a run of its own beside the rest of the
  # Simplified Chinese suite, and the other Windows shared out so that both lanes end
  # about together.
  lane1=("cp936-crash-proof|zh_CN.UTF-8|$shipped|CrashProofTest.*" "cp950|zh_TW.UTF-8|$shipped|$languages"
         "cp1252-ansi-product|en_US.UTF-8|$shipped|$ansi_product")
  lane2=("cp936|zh_CN.UTF-8|$shipped|-CrashProofTest.*" "cp1252|en_US.UTF-8|$shipped|$languages"
         "cp932|ja_JP.UTF-8|$shipped|$languages"
         "utf8-manifest|zh_CN.UTF-8|medium-utf8|builder-medium-utf8|medium-utf8|$languages")
fi
# Every run is expected from the start, so that one that never began counts as lost too.
for run in "${lane1[@]}" "${lane2[@]}"; do echo "${run%%|*}" >>"$results/runs"; done
