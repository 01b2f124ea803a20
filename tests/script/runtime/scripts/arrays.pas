var a, b: array of Integer; s: array[3..5] of string; i, n: Integer; m: array of array of Integer;
begin
  SetLength(a, 3);
  for i := 0 to 2 do a[i] := i * 10;
  Print('length ' + IntToStr(Length(a)) + ' low ' + IntToStr(Low(a)) + ' high ' + IntToStr(High(a)));
  b := a;
  b[1] := 99;
  Print('shared: ' + IntToStr(a[1]));
  SetLength(b, 4);
  b[0] := -1;
  Print('after resize: ' + IntToStr(a[0]) + ' ' + IntToStr(b[0]) + ' ' + IntToStr(b[3]));
  s[3] := 'three';
  s[5] := 'five';
  Print('static: ' + s[3] + ' ' + s[5] + ' ' + IntToStr(Low(s)) + '..' + IntToStr(High(s)) + ' ' +
        IntToStr(Length(s)));
  SetLength(m, 2);
  for i := 0 to 1 do begin
    SetLength(m[i], i + 2);
    m[i][i] := i + 1;
  end;
  n := 0;
  for i := 0 to 1 do n := n + Length(m[i]);
  Print('jagged: ' + IntToStr(n) + ' ' + IntToStr(m[1][1]));
  SetLength(a, 0);
  Print('emptied: ' + IntToStr(Length(a)));
  a[0] := 1;
end.
