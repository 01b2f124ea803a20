var i, j, n: Integer; b: Byte; s: string;
begin
  n := 0;
  for i := 1 to 5 do n := n + i;
  Print('for to: ' + IntToStr(n));
  s := '';
  for i := 3 downto 1 do s := s + IntToStr(i);
  Print('for downto: ' + s);
  i := 0;
  while i < 100 do i := i + 7;
  Print('while: ' + IntToStr(i));
  i := 1;
  repeat i := i * 3 until i > 50;
  Print('repeat: ' + IntToStr(i));
  s := '';
  for i := 1 to 10 do begin
    if i mod 2 = 0 then continue;
    if i > 7 then break;
    s := s + IntToStr(i);
  end;
  Print('break and continue: ' + s);
  n := 0;
  for i := 1 to 3 do
    for j := 1 to 4 do
      n := n + i * j;
  Print('nested: ' + IntToStr(n));
  n := 0;
  for b := 250 to 255 do n := n + 1;
  Print('to the limit of Byte: ' + IntToStr(n));
  s := '';
  for i := 1 to 3 do begin
    try
      if i = 2 then break;
      s := s + 'body' + IntToStr(i) + ' ';
    finally
      s := s + 'finally' + IntToStr(i) + ' ';
    end;
  end;
  Print('break out of try: ' + s);
  s := '';
  for i := 1 to 3 do begin
    try
      if i = 2 then continue;
      s := s + IntToStr(i);
    finally
      s := s + '.';
    end;
  end;
  Print('continue out of try: ' + s);
end.
