@echo off
rem Runs every test in this folder, each within its time limit, and keeps
rem what each said, with GoogleTest's XML reports, in results\ beside this
rem file. One line per test, then the count; ends with 0 when all passed.
setlocal EnableExtensions DisableDelayedExpansion
cd /d "%~dp0"
set "here=%~dp0"
if exist results rd /s /q results
mkdir results
set passed=0
set failed=0
call :test follow_tests 120
call :test glyphroots_tests 120
call :test e2e_follow 120 "%here%follow.exe"
call :test e2e_glyphroots 300 "%here%glyphroots.exe" @nsis_argument@ @msi_argument@
call :test e2e_boxes 120 "%here%follow.exe" "%here%glyphroots.exe"
call :test resources_test 120 "%here%follow.exe" "%here%glyphroots.exe"
call :test soak 90 "%here%follow.exe" 6
echo %passed% passed, %failed% failed
if %failed% gtr 0 exit /b 1
exit /b 0

rem :test NAME SECONDS [ARG...]: one test program, its output in results\.
:test
set "name=%~1"
set "out=results\%~1.txt"
if not exist "%here%%name%.exe" (
  echo FAIL %name%: %name%.exe is not in this folder
  set /a failed+=1
  goto :eof
)
set "report=--gtest_output=xml:results\%name%.xml"
if "%name%"=="soak" set "report="
"%here%time-limit.exe" %2 "%here%%name%.exe" %report% %3 %4 %5 > "%out%" 2>&1
set status=%errorlevel%
if "%status%"=="0" (
  echo PASS %name%
  set /a passed+=1
) else if "%status%"=="124" (
  echo FAIL %name%: still running after %2 s, so ended; see %out%
  set /a failed+=1
) else (
  echo FAIL %name%: exit status %status%; see %out%
  set /a failed+=1
)
rem A case skipped for what this PC lacks says why, on a line of its own.
type "%out%" | find "skipped: "
goto :eof
